#include "kml/kml_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>
#include "test_support.h"

namespace tarvola::kml {
namespace {

struct TDescriptionCase {
  std::string Name;
  std::string Desc;
  std::string Cmt;
  std::string Expected;
};

void PrintTo(const TDescriptionCase& row, std::ostream* out) { *out << row.Name; }

class Description : public testing::TestWithParam<TDescriptionCase> {};

TEST_P(Description, JoinsDescAndCmt) {
  EXPECT_EQ(DescriptionOf(GetParam().Desc, GetParam().Cmt), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Description,
    testing::Values(TDescriptionCase{"BothDifferent", "a", "b", "a - b"},
                    TDescriptionCase{"BothEqual", "a", "a", "a"},
                    TDescriptionCase{"CommentOnly", "", "b", "b"},
                    TDescriptionCase{"DescriptionOnly", "a", "", "a"},
                    TDescriptionCase{"NeitherGivesNothing", "", "", ""},
                    TDescriptionCase{"CaseCounts", "Water", "water", "Water - water"}),
    test::TRowName());

struct TTimeTextCase {
  std::string Name;
  std::string Stamp;
  std::string Expected;
};

void PrintTo(const TTimeTextCase& row, std::ostream* out) { *out << row.Name; }

class TimeTextOf : public testing::TestWithParam<TTimeTextCase> {};

TEST_P(TimeTextOf, KeepsTheStampsOwnZone) {
  EXPECT_EQ(TimeText(gps::Iso8601ToDateTimeZ(GetParam().Stamp)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, TimeTextOf,
    testing::Values(TTimeTextCase{"Utc", "2010-05-12T10:20:30Z", "2010-05-12T10:20:30Z"},
                    TTimeTextCase{"East", "2010-05-12T10:20:30.5+02:00", "2010-05-12T10:20:30+02:00"},
                    TTimeTextCase{"WestHalfHour", "2010-05-12T10:20:30-01:30", "2010-05-12T10:20:30-01:30"},
                    TTimeTextCase{"Missing", "not a time", ""}),
    test::TRowName());

struct TSpanCase {
  std::string Name;
  std::vector<std::string> Stamps;
  std::string Begin;  // empty: no span
  std::string End;
};

void PrintTo(const TSpanCase& row, std::ostream* out) { *out << row.Name; }

class TimeSpanOf : public testing::TestWithParam<TSpanCase> {};

TEST_P(TimeSpanOf, TakesTheStoredExtremes) {
  std::vector<gps::TDateTimeZ> stamps;
  for (const std::string& text : GetParam().Stamps) stamps.push_back(gps::Iso8601ToDateTimeZ(text));
  TTimeSpan span;
  for (const gps::TDateTimeZ& stamp : stamps) span.Add(stamp);
  if (GetParam().Begin.empty()) {
    EXPECT_TRUE(span.Empty());
    return;
  }
  ASSERT_FALSE(span.Empty());
  EXPECT_EQ(TimeText(span.Begin()), GetParam().Begin);
  EXPECT_EQ(TimeText(span.End()), GetParam().End);
}

INSTANTIATE_TEST_SUITE_P(
    Points, TimeSpanOf,
    testing::Values(
        TSpanCase{"NoStamps", {}, "", ""},
        TSpanCase{"NoneExists", {"", "junk"}, "", ""},
        TSpanCase{"One", {"2024-06-01T10:00:00Z"}, "2024-06-01T10:00:00Z", "2024-06-01T10:00:00Z"},
        TSpanCase{"OutOfOrder",
                  {"2024-06-01T10:00:00Z", "2024-06-01T09:00:00Z", "2024-06-01T11:00:00Z"},
                  "2024-06-01T09:00:00Z", "2024-06-01T11:00:00Z"},
        TSpanCase{"OnlySomeHaveTimes", {"", "2024-06-01T10:00:00Z", "bad", "2024-06-01T12:00:00Z"},
                  "2024-06-01T10:00:00Z", "2024-06-01T12:00:00Z"},
        // Stored clock values are compared; the zones take no part, so 09:00+02:00 is "later"
        // than 08:00Z although it is the earlier instant.
        TSpanCase{"ZonesTakeNoPart", {"2024-06-01T09:00:00+02:00", "2024-06-01T08:00:00Z"},
                  "2024-06-01T08:00:00Z", "2024-06-01T09:00:00+02:00"},
        TSpanCase{"FirstMetWinsTies",
                  {"2024-06-01T09:00:00+02:00", "2024-06-01T09:00:00Z", "2024-06-01T09:00:00-05:00"},
                  "2024-06-01T09:00:00+02:00", "2024-06-01T09:00:00+02:00"}),
    test::TRowName());

TEST(CoordTriple, IsLonLatAltAsHeld) {
  std::string out;
  TKmlWriter writer(out);
  gps::TTrkPt point;
  point.Lat = "47.1";
  point.Lon = "8.5";
  AppendCoordTriple(writer, point);
  EXPECT_EQ(out, "8.5,47.1,0");
  out.clear();
  point.Lat.clear();
  point.Alt = " 12.0 ";
  AppendCoordTriple(writer, point);
  EXPECT_EQ(out, "8.5,, 12.0 ");
}

// What may go into a line: decimal numbers in range as GPX writes them, nothing that would add
// or merge tuples.
TEST(IsDegrees, TakesDecimalNumbersInRangeOnly) {
  const std::pair<const char*, bool> latitudes[] = {
      {"46.1", true},  {" 46.1\n", true}, {"+7", true},      {"-90", true},      {"90", true},
      {"-.5", true},   {"5.", true},       {"0", true},       {"90.0000001", false}, {"-91", false},
      {"46.1 99,99", false}, {"", false}, {" ", false},      {"1e1", false},     {".", false},
      {"-", false},    {"NaN", false},     {"4.6.1", false},  {"46,1", false},    {"0x1p3", false}};
  for (const auto& [text, fits] : latitudes) EXPECT_EQ(IsDegrees(text, 90), fits) << '"' << text << '"';
  EXPECT_TRUE(IsDegrees("-180.000", 180));
  EXPECT_FALSE(IsDegrees("180.5", 180));
}

}  // namespace
}  // namespace tarvola::kml
