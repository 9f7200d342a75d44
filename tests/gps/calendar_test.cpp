#include "gps/calendar.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::gps {
namespace {

struct TDayRow {
  const char* Name;
  int Year, Month, Day;
  long Days;
};

std::ostream& operator<<(std::ostream& out, const TDayRow& row) { return out << row.Name; }

class CalendarDays : public testing::TestWithParam<TDayRow> {};

TEST_P(CalendarDays, CountsFromTheEpoch) {
  const TDayRow& row = GetParam();
  EXPECT_EQ(EncodeDate(row.Year, row.Month, row.Day), row.Days);
  auto parts = SplitDateTime(static_cast<double>(row.Days));
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->Year, row.Year);
  EXPECT_EQ(parts->Month, row.Month);
  EXPECT_EQ(parts->Day, row.Day);
}

// Day numbers as the Windows date scale has them (1900-01-01 is day 2, 2000-01-01 day 36526).
INSTANTIATE_TEST_SUITE_P(
    Known, CalendarDays,
    testing::Values(TDayRow{"Epoch", 1899, 12, 30, 0}, TDayRow{"Year1900", 1900, 1, 1, 2},
                    TDayRow{"Year2000", 2000, 1, 1, 36526}, TDayRow{"LeapDay2000", 2000, 2, 29, 36585},
                    TDayRow{"FirstDay", 1, 1, 1, -693593}, TDayRow{"LastDay", 9999, 12, 31, 2958465},
                    TDayRow{"DayBefore", 1899, 12, 29, -1}),
    test::TRowName());

TEST(Calendar, RejectsDatesOutsideIt) {
  EXPECT_FALSE(EncodeDate(0, 1, 1));
  EXPECT_FALSE(EncodeDate(10000, 1, 1));
  EXPECT_FALSE(EncodeDate(2010, 0, 1));
  EXPECT_FALSE(EncodeDate(2010, 1, 0));
  EXPECT_FALSE(EncodeDate(2010, 6, 31));
  EXPECT_FALSE(EncodeDate(2100, 2, 29));
  EXPECT_FALSE(SplitDateTime(-693594.0));
  EXPECT_FALSE(SplitDateTime(2958466.0));
  EXPECT_FALSE(SplitDateTime(std::numeric_limits<double>::quiet_NaN()));
}

TEST(Calendar, EveryDayRoundTrips) {
  long first = *EncodeDate(1, 1, 1), last = *EncodeDate(9999, 12, 31);
  int previousDay = 0, weekday = 1;  // 0001-01-01 was a Monday
  for (long days = first; days <= last; ++days) {
    auto parts = SplitDateTime(static_cast<double>(days));
    ASSERT_TRUE(parts) << days;
    ASSERT_EQ(EncodeDate(parts->Year, parts->Month, parts->Day), days);
    ASSERT_NE(parts->Day, previousDay);
    ASSERT_EQ(parts->DayOfWeek, weekday) << days;
    ASSERT_EQ(parts->DayOfYear, days - *EncodeDate(parts->Year, 1, 1));
    previousDay = parts->Day;
    weekday = (weekday + 1) % 7;
  }
}

TEST(Calendar, TimeOfDayBeforeTheEpochCountsForward) {
  double value = ComposeDateTime(-1, 6 * 3'600'000L);
  EXPECT_DOUBLE_EQ(value, -1.25);
  auto parts = SplitDateTime(value);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->Day, 29);
  EXPECT_EQ(parts->Hour, 6);
}

TEST(Calendar, MillisecondsSurviveTheDayScale) {
  long days = *EncodeDate(2010, 5, 12);
  for (long ms : {0L, 1L, 999L, 37'230'123L, 86'399'999L}) {
    auto parts = SplitDateTime(ComposeDateTime(days, ms));
    ASSERT_TRUE(parts);
    EXPECT_EQ(((parts->Hour * 60L + parts->Minute) * 60L + parts->Second) * 1000L + parts->Millisecond, ms);
    EXPECT_EQ(parts->Day, 12);
  }
}

}  // namespace
}  // namespace tarvola::gps
