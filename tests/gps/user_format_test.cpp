#include "gps/user_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ctime>

#include "gps/calendar.h"
#include "gps/iso8601.h"
#include "test_support.h"

namespace tarvola::gps {
namespace {

// The time as the user reads it: seconds only on request, the zone only on request and never
// converted. Windows formats with the user's locale, which the Wine run sets to de-DE
// (tests/gps/CMakeLists.txt): "d.M.yyyy" and "HH:mm:ss"; elsewhere the C locale's "%m/%d/%y"
// and "%H:%M:%S".
TEST(UserTimeText, SecondsAndZoneOnRequestWithoutConversion) {
#ifndef _WIN32
  std::setlocale(LC_TIME, "C");
#endif
  struct TRow {
    const char* Iso;
    bool Seconds;  // UserDateTimeText's request
    bool Zone;     // DateTimeZToText's request
    const char* Windows;
    const char* Other;
  };
  const TRow rows[] = {
      {"2010-05-12T10:20:30+02:00", false, false, "12.5.2010 10:20", "05/12/10 10:20"},
      {"2010-05-12T10:20:30+02:00", true, false, "12.5.2010 10:20:30", "05/12/10 10:20:30"},
      {"2010-05-12T10:20:30-05:30", false, true, "12.5.2010 10:20 GMT-5:30", "05/12/10 10:20 GMT-5:30"},
      {"2010-05-12T23:59:00+14:00", false, false, "12.5.2010 23:59", "05/12/10 23:59"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Iso);
#ifdef _WIN32
    const std::string expected = row.Windows;
#else
    const std::string expected = row.Other;
#endif
    const TDateTimeZ value = Iso8601ToDateTimeZ(row.Iso);
    EXPECT_EQ(row.Zone ? DateTimeZToText(value, true) : UserDateTimeText(value.DateTime, row.Seconds), expected);
    if (!row.Seconds) {
      EXPECT_EQ(DateTimeZToText(value, false), expected.substr(0, expected.find(" GMT")));
    }
  }
}

TEST(UserDateTimeText, NothingOutsideTheCalendar) { EXPECT_EQ(UserDateTimeText(1.0e9, false), ""); }

struct TFormatRow {
  const char* Name;
  const char* Long;
  const char* Short;
};

std::ostream& operator<<(std::ostream& out, const TFormatRow& row) { return out << row.Name; }

class ShortTimeFormats : public testing::TestWithParam<TFormatRow> {};

TEST_P(ShortTimeFormats, DropSecondsAndTheirSeparator) {
  EXPECT_EQ(ShortTimeFormat(GetParam().Long), GetParam().Short);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, ShortTimeFormats,
    testing::Values(TFormatRow{"Colons", "%H:%M:%S", "%H:%M"}, TFormatRow{"Dots", "%H.%M.%S", "%H.%M"},
                    TFormatRow{"DayPeriod", "%I:%M:%S %p", "%I:%M %p"}, TFormatRow{"T", "%T", "%H:%M"},
                    TFormatRow{"ZoneAfter", "%H:%M:%S %Z", "%H:%M %Z"},
                    TFormatRow{"NoSeconds", "%H:%M", "%H:%M"}, TFormatRow{"Percent", "%H%%%M:%S", "%H%%%M"}),
    test::TRowName());

TEST(NowLocalDateTime, MatchesTheSystemClock) {
  std::time_t before = std::time(nullptr);
  double now = NowLocalDateTime();
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &before);
#else
  localtime_r(&before, &local);
#endif
  auto parts = SplitDateTime(now);
  ASSERT_TRUE(parts);
  EXPECT_EQ(parts->Year, local.tm_year + 1900);
  EXPECT_EQ(parts->Month, local.tm_mon + 1);
  // Minutes may tick over between the two readings; a day-scale error would be far larger.
  double seconds = (now - ComposeDateTime(*EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                                          ((local.tm_hour * 60L + local.tm_min) * 60L + local.tm_sec) * 1000L)) *
                   86400.0;
  EXPECT_GE(seconds, -1.0);
  EXPECT_LT(seconds, 5.0);
}

TEST(ShortTimeFormat, WritesOutTheDayPeriodFormat) {
  EXPECT_EQ(ShortTimeFormat("%r", "%I:%M:%S %p"), "%I:%M %p");
  EXPECT_EQ(ShortTimeFormat("%r"), "%r");
}

}  // namespace
}  // namespace tarvola::gps
