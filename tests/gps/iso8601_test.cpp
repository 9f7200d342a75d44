#include "gps/iso8601.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

#include "gps/calendar.h"
#include "gps/user_format.h"
#include "test_support.h"

namespace tarvola::gps {
namespace {

int CurrentYear() { return SplitDateTime(NowLocalDateTime())->Year; }

// The year of the 100-year window starting 50 years back that ends in `written`.
int YearInWindow(int written) {
  int current = CurrentYear();
  for (int year = current - 50; year < current + 50; ++year)
    if (year % 100 == written) return year;
  return 0;
}

constexpr int Today = -1;        // the current year, or today's date
constexpr int MachineZone = 9999;

struct TParseRow {
  const char* Name;
  const char* Text;
  bool Exists;
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int Zone = 0;
};

std::ostream& operator<<(std::ostream& out, const TParseRow& row) { return out << row.Text; }

class Iso8601Parse : public testing::TestWithParam<TParseRow> {};

TEST_P(Iso8601Parse, ReadsAsWritten) {
  const TParseRow& row = GetParam();
  TDateTimeZ value = Iso8601ToDateTimeZ(row.Text);
  ASSERT_EQ(value.Exists, row.Exists);
  if (!row.Exists) return;
  auto parts = SplitDateTime(value.DateTime);
  ASSERT_TRUE(parts);
  auto today = SplitDateTime(NowLocalDateTime());
  int year = row.Year == Today ? today->Year : row.Year;
  EXPECT_EQ(parts->Year, year);
  EXPECT_EQ(parts->Month, row.Month == Today ? today->Month : row.Month);
  EXPECT_EQ(parts->Day, row.Day == Today ? today->Day : row.Day);
  EXPECT_EQ(parts->Hour, row.Hour);
  EXPECT_EQ(parts->Minute, row.Minute);
  EXPECT_EQ(parts->Second, row.Second);
  EXPECT_EQ(parts->Millisecond, row.Millisecond);
  EXPECT_EQ(value.TimeZone, row.Zone == MachineZone ? LocalZoneOffset() : row.Zone);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Iso8601Parse,
    testing::Values(
        TParseRow{"UtcZ", "2010-05-12T10:20:30Z", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"LowerCase", "2010-05-12t10:20:30z", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"FractionAndPlusZone", "2010-05-12T10:20:30.123+02:00", true, 2010, 5, 12, 10, 20, 30, 123, 120},
        TParseRow{"MinusZone", "2010-05-12T10:20:30-05:30", true, 2010, 5, 12, 10, 20, 30, 0, -330},
        TParseRow{"NoZoneTakesMachineOffset", "2010-05-12T10:20:30", true, 2010, 5, 12, 10, 20, 30, 0, MachineZone},
        TParseRow{"FiveCharZoneTakesMachineOffset", "2010-05-12T10:20:30+0200", true, 2010, 5, 12, 10, 20, 30, 0, MachineZone},
        TParseRow{"LongZoneTakesMachineOffset", "2010-05-12T10:20:30+02:00:00", true, 2010, 5, 12, 10, 20, 30, 0, MachineZone},
        TParseRow{"ZWithBlankTakesMachineOffset", "2010-05-12T10:20:30Z ", true, 2010, 5, 12, 10, 20, 30, 0, MachineZone},
        TParseRow{"ZoneSeparatorNotExamined", "2010-05-12T10:20:30+02x30", true, 2010, 5, 12, 10, 20, 30, 0, 150},
        TParseRow{"NegativeZeroZone", "2010-05-12T10:20:30-00:00", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"SixCharZoneAfterZ", "2010-05-12T10:20:30z01:00", true, 2010, 5, 12, 10, 20, 30, 0, 60},
        TParseRow{"SixCharZoneLetters", "2010-05-12T10:20:30+ab:cd", false},
        TParseRow{"SixCharZoneLetterInMinutes", "2010-05-12T10:20:30+02:3x", false},
        TParseRow{"ZFoundBeforePlus", "2010-05-12T10:20:30+02:00z", false},
        TParseRow{"DateAlone", "2010-05-12", false},
        TParseRow{"DateWithEmptyTime", "2010-05-12T", false},
        TParseRow{"EmptyTimeBeforeZone", "2010-05-12TZ", false},
        TParseRow{"EmptyText", "", false},
        TParseRow{"Month13", "2010-13-12T10:20:30Z", false},
        TParseRow{"Hour24", "2010-05-12T24:00:00Z", false},
        TParseRow{"Minute60", "2010-05-12T10:60:00Z", false},
        TParseRow{"Second60", "2010-05-12T10:20:60Z", false},
        TParseRow{"FourDigitFraction", "2010-05-12T10:20:30.1234Z", false},
        TParseRow{"MicrosecondFraction", "2010-05-12T10:20:30.123456Z", false},
        TParseRow{"MicrosecondsBelowAMillisecond", "2010-05-12T10:20:30.000123Z", true, 2010, 5, 12, 10, 20, 30, 123, 0},
        TParseRow{"LongZeroFraction", "2010-05-12T10:20:30.0000000Z", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"OneDigitFractionIsMilliseconds", "2010-05-12T10:20:30.5Z", true, 2010, 5, 12, 10, 20, 30, 5, 0},
        TParseRow{"FractionWithoutSeconds", "2010-05-12T10:20.5Z", false},
        TParseRow{"HoursOnly", "2010-05-12T10Z", true, 2010, 5, 12, 10, 0, 0, 0, 0},
        TParseRow{"HoursAndMinutes", "2010-05-12T10:20Z", true, 2010, 5, 12, 10, 20, 0, 0, 0},
        TParseRow{"TimeWithoutDate", "T10:20:30Z", true, Today, Today, Today, 10, 20, 30, 0, 0},
        TParseRow{"MonthDayInCurrentYear", "05-12T10:20:30Z", true, Today, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"OneNumberDate", "2010T10:20:30Z", false},
        TParseRow{"FourNumberDate", "2010-05-12-01T10:20:30Z", false},
        TParseRow{"TrailingHyphen", "2010-05-12-T10:20:30Z", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"TwoTrailingHyphens", "2010-05-12--T10:20:30Z", false},
        TParseRow{"BlanksEverywhere", " 2010 - 05 - 12 T 10 : 20 : 30 . 5 Z", true, 2010, 5, 12, 10, 20, 30, 5, 0},
        TParseRow{"BlankInsideNumber", "20 10-05-12T10:20:30Z", false},
        TParseRow{"TabIsNoBlank", "2010-05-12T\t10:20:30Z", false},
        TParseRow{"LeadingZerosBeyondFourDigits", "02010-05-12T10:20:30Z", true, 2010, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"FiveDigitYear", "12010-05-12T10:20:30Z", false},
        TParseRow{"ThreeDigitYearUnchanged", "075-05-12T10:20:30Z", true, 75, 5, 12, 10, 20, 30, 0, 0},
        TParseRow{"YearZero", "0000-01-01T00:00:00Z", false},
        TParseRow{"LastDay", "9999-12-31T23:59:59Z", true, 9999, 12, 31, 23, 59, 59, 0, 0},
        TParseRow{"FirstDay", "0001-01-01T00:00:00Z", true, 1, 1, 1, 0, 0, 0, 0, 0},
        TParseRow{"BeforeTheEpoch", "1800-01-01T06:30:00Z", true, 1800, 1, 1, 6, 30, 0, 0, 0},
        TParseRow{"LeapDay", "2012-02-29T12:00:00Z", true, 2012, 2, 29, 12, 0, 0, 0, 0},
        TParseRow{"NoLeapDay", "2011-02-29T12:00:00Z", false},
        TParseRow{"NoLeapDayCentury", "1900-02-29T12:00:00Z", false},
        TParseRow{"LeapDay400", "2000-02-29T12:00:00Z", true, 2000, 2, 29, 12, 0, 0, 0, 0},
        TParseRow{"Day31InApril", "2010-04-31T12:00:00Z", false},
        TParseRow{"SignedNumber", "2010-+5-12T10:20:30Z", false},
        TParseRow{"LetterInTime", "2010-05-12T10:2a:30Z", false}),
    test::TRowName());

struct TWindowRow {
  const char* Name;
  const char* Text;
  int Written;
};

std::ostream& operator<<(std::ostream& out, const TWindowRow& row) { return out << row.Name; }

class Iso8601YearWindow : public testing::TestWithParam<TWindowRow> {};

TEST_P(Iso8601YearWindow, ShortYearLiesInTheWindow) {
  TDateTimeZ value = Iso8601ToDateTimeZ(GetParam().Text);
  ASSERT_TRUE(value.Exists);
  EXPECT_EQ(SplitDateTime(value.DateTime)->Year, YearInWindow(GetParam().Written));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Iso8601YearWindow,
    testing::Values(TWindowRow{"TwoDigits75", "75-05-12T10:20:30Z", 75},
                    TWindowRow{"TwoDigits10", "10-05-12T10:20:30Z", 10},
                    TWindowRow{"OneDigit", "7-05-12T10:20:30Z", 7},
                    TWindowRow{"LeadingZero", "07-05-12T10:20:30Z", 7},
                    TWindowRow{"Zero", "00-05-12T10:20:30Z", 0},
                    TWindowRow{"NinetyNine", "99-05-12T10:20:30Z", 99}),
    test::TRowName());

TEST(Iso8601Window, EdgesOfTheWindow) {
  int start = CurrentYear() - 50;
  std::string first = std::to_string(start % 100 / 10) + std::to_string(start % 10) + "-01-01T00:00Z";
  EXPECT_EQ(SplitDateTime(Iso8601ToDateTimeZ(first).DateTime)->Year, start);
  int last = start + 99;
  std::string end = std::to_string(last % 100 / 10) + std::to_string(last % 10) + "-01-01T00:00Z";
  EXPECT_EQ(SplitDateTime(Iso8601ToDateTimeZ(end).DateTime)->Year, last);
}

struct TRoundTripRow {
  const char* Name;
  const char* Text;
  const char* Written;
};

std::ostream& operator<<(std::ostream& out, const TRoundTripRow& row) { return out << row.Name; }

class Iso8601RoundTrip : public testing::TestWithParam<TRoundTripRow> {};

TEST_P(Iso8601RoundTrip, WritesBackClockAndZone) {
  EXPECT_EQ(DateTimeZToIso8601(Iso8601ToDateTimeZ(GetParam().Text)), GetParam().Written);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Iso8601RoundTrip,
    testing::Values(
        TRoundTripRow{"Utc", "2010-05-12T10:20:30Z", "2010-05-12T10:20:30Z"},
        TRoundTripRow{"LowerCase", "2010-05-12t10:20:30z", "2010-05-12T10:20:30Z"},
        TRoundTripRow{"FractionDropped", "2010-05-12T10:20:30.123+02:00", "2010-05-12T10:20:30+02:00"},
        TRoundTripRow{"FractionNotRounded", "2010-05-12T10:20:30.999Z", "2010-05-12T10:20:30Z"},
        TRoundTripRow{"LastMillisecondOfDay", "2010-05-12T23:59:59.999Z", "2010-05-12T23:59:59Z"},
        TRoundTripRow{"MinusZone", "2010-05-12T10:20:30-05:30", "2010-05-12T10:20:30-05:30"},
        TRoundTripRow{"YearPadded", "0999-03-04T05:06:07Z", "0999-03-04T05:06:07Z"},
        TRoundTripRow{"BeforeTheEpoch", "1800-01-01T06:30:00+01:00", "1800-01-01T06:30:00+01:00"},
        TRoundTripRow{"DayBeforeTheEpoch", "1899-12-29T18:00:00Z", "1899-12-29T18:00:00Z"},
        TRoundTripRow{"FirstDay", "0001-01-01T00:00:00Z", "0001-01-01T00:00:00Z"},
        TRoundTripRow{"LastSecond", "9999-12-31T23:59:59Z", "9999-12-31T23:59:59Z"},
        TRoundTripRow{"NotAStamp", "yesterday", ""}),
    test::TRowName());

TDateTimeZ Stamp(int year, int month, int day, int hour, int minute, int second, int zone) {
  TDateTimeZ value;
  value.DateTime = ComposeDateTime(*EncodeDate(year, month, day), ((hour * 60L + minute) * 60L + second) * 1000L);
  value.TimeZone = static_cast<std::int16_t>(zone);
  value.Exists = true;
  return value;
}

TEST(Iso8601Format, ZoneWrittenAsHoursAndMinutes) {
  EXPECT_EQ(DateTimeZToIso8601(Stamp(2010, 5, 12, 10, 20, 30, 90)), "2010-05-12T10:20:30+01:30");
  EXPECT_EQ(DateTimeZToIso8601(Stamp(2010, 5, 12, 10, 20, 30, -90)), "2010-05-12T10:20:30-01:30");
  EXPECT_EQ(DateTimeZToIso8601(Stamp(2010, 5, 12, 10, 20, 30, 840)), "2010-05-12T10:20:30+14:00");
}

TEST(Iso8601Format, NoTextWithoutAStamp) {
  TDateTimeZ value = Stamp(2010, 5, 12, 10, 20, 30, 0);
  value.Exists = false;
  EXPECT_EQ(DateTimeZToIso8601(value), "");
  EXPECT_EQ(DateTimeZToText(value, true), "");
}

TEST(Iso8601Format, NoTextOutsideTheCalendar) {
  TDateTimeZ value = Stamp(2010, 5, 12, 10, 20, 30, 0);
  for (double outside : {3.0e6, -7.0e5, 1.0e300}) {
    value.DateTime = outside;
    EXPECT_EQ(DateTimeZToIso8601(value), "") << outside;
    EXPECT_EQ(DateTimeZToText(value, false), "") << outside;
  }
}

struct TZoneTextRow {
  const char* Name;
  int Minutes;
  const char* Text;
};

std::ostream& operator<<(std::ostream& out, const TZoneTextRow& row) { return out << row.Name; }

class ZoneOffsetTextRows : public testing::TestWithParam<TZoneTextRow> {};

TEST_P(ZoneOffsetTextRows, WritesGmtOffset) {
  EXPECT_EQ(ZoneOffsetText(static_cast<std::int16_t>(GetParam().Minutes)), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ZoneOffsetTextRows,
    testing::Values(TZoneTextRow{"Zero", 0, "GMT"}, TZoneTextRow{"WholeHours", 120, "GMT+2"},
                    TZoneTextRow{"HalfHourWest", -330, "GMT-5:30"},
                    TZoneTextRow{"MinutesOnly", 45, "GMT+0:45"},
                    TZoneTextRow{"MinutesOnlyWest", -45, "GMT-0:45"},
                    TZoneTextRow{"TwoDigitHours", 600, "GMT+10"},
                    TZoneTextRow{"Smallest", -32768, "GMT-546:08"}),
    test::TRowName());

#ifdef _WIN32
// Windows keeps the zone in the system, not in TZ, so a test cannot choose it: the offset must
// agree with the system's own conversion of the present moment (the Wine run picks a zone with
// half hours and daylight saving).
std::int64_t FileTimeMinutes(const SYSTEMTIME& time) {
  FILETIME file{};
  EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
  ULARGE_INTEGER ticks{};
  ticks.LowPart = file.dwLowDateTime;
  ticks.HighPart = file.dwHighDateTime;
  return static_cast<std::int64_t>(ticks.QuadPart / 600'000'000);
}

TEST(LocalZoneOffset, AgreesWithTheSystemConversion) {
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  GetSystemTime(&utc);
  utc.wSecond = 0;
  utc.wMilliseconds = 0;
  ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
  EXPECT_EQ(LocalZoneOffset(), FileTimeMinutes(local) - FileTimeMinutes(utc));
}

TEST(LocalZoneOffset, StampWithoutZoneTakesIt) {
  TDateTimeZ value = Iso8601ToDateTimeZ("2010-05-12T10:20:30");
  ASSERT_TRUE(value.Exists);
  EXPECT_EQ(value.TimeZone, LocalZoneOffset());
}
#else
// Sets TZ for one test and puts the old value back.
class TZoneEnvironment {
public:
  explicit TZoneEnvironment(const char* zone) {
    if (const char* old = std::getenv("TZ")) FOld = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TZoneEnvironment() {
    if (FOld) setenv("TZ", FOld->c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

private:
  std::optional<std::string> FOld;
};

TEST(LocalZoneOffset, FollowsTheSystemZone) {
  {
    TZoneEnvironment zone("UTC0");
    EXPECT_EQ(LocalZoneOffset(), 0);
  }
  {
    TZoneEnvironment zone("EAST-02:00");  // POSIX TZ counts west as positive
    EXPECT_EQ(LocalZoneOffset(), 120);
  }
  {
    TZoneEnvironment zone("WEST+05:30");
    EXPECT_EQ(LocalZoneOffset(), -330);
  }
}

TEST(LocalZoneOffset, StampWithoutZoneTakesIt) {
  TZoneEnvironment zone("EAST-03:00");
  TDateTimeZ value = Iso8601ToDateTimeZ("2010-05-12T10:20:30");
  ASSERT_TRUE(value.Exists);
  EXPECT_EQ(value.TimeZone, 180);
  EXPECT_EQ(DateTimeZToIso8601(value), "2010-05-12T10:20:30+03:00");
}

TEST(LocalZoneOffset, MachineAtUtcWritesZ) {
  TZoneEnvironment zone("UTC0");
  EXPECT_EQ(DateTimeZToIso8601(Iso8601ToDateTimeZ("2010-05-12T10:20:30")), "2010-05-12T10:20:30Z");
}
#endif

TEST(LocalClock, ReusedClockGivesTheSameAnswers) {
  TLocalClock clock;
  for (const char* text : {"2010-05-12T10:20:30", "T01:02:03Z", "75-01-01T00:00Z"}) {
    TDateTimeZ once = Iso8601ToDateTimeZ(text);
    TDateTimeZ reused = Iso8601ToDateTimeZ(text, clock);
    EXPECT_EQ(reused.Exists, once.Exists) << text;
    EXPECT_EQ(reused.TimeZone, once.TimeZone) << text;
    EXPECT_EQ(DateTimeZToIso8601(reused), DateTimeZToIso8601(once)) << text;
  }
}

}  // namespace
}  // namespace tarvola::gps
