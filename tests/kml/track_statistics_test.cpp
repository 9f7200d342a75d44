#include "kml/track_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include "test_support.h"

namespace tarvola::kml {
namespace {

constexpr double Day = 45000;  // 2023-03-15
const gps::TDateTimeZ NoTime;

gps::TDateTimeZ At(double seconds) { return {Day + seconds / 86400, 0, true}; }

double Dms(double degrees, double minutes, double seconds) {
  const double value = std::abs(degrees) + minutes / 60 + seconds / 3600;
  return degrees < 0 ? -value : value;
}

struct TDistanceCase {
  std::string Name;
  double Lat1, Lon1, Lat2, Lon2;
  double Meters;
};

void PrintTo(const TDistanceCase& row, std::ostream* out) { *out << row.Name; }

class Geodesic : public testing::TestWithParam<TDistanceCase> {};

TEST_P(Geodesic, MatchesKnownLengths) {
  const TDistanceCase& row = GetParam();
  EXPECT_NEAR(EllipsoidDistance(row.Lat1, row.Lon1, row.Lat2, row.Lon2), row.Meters, 1e-3);
}

// Equator: a * pi / 180. Meridian and Flinders Peak - Buninyong: published geodesic values.
INSTANTIATE_TEST_SUITE_P(
    Wgs84, Geodesic,
    testing::Values(
        TDistanceCase{"EquatorDegree", 0, 0, 0, 1, 111319.4908},
        TDistanceCase{"MeridianDegree", 0, 0, 1, 0, 110574.3886},
        TDistanceCase{"AcrossTheDateLine", 0, 179.5, 0, -179.5, 111319.4908},
        TDistanceCase{"SamePoint", 45, 7, 45, 7, 0},
        TDistanceCase{"FlindersPeakToBuninyong", Dms(-37, 57, 3.72030), Dms(144, 25, 29.52440),
                      Dms(-37, 39, 10.15610), Dms(143, 55, 35.38390), 54972.271}),
    test::TRowName());

TEST(Geodesic, NearlyAntipodalStaysNearHalfTheGlobe) {
  const double meters = EllipsoidDistance(0, 0, 0.5, 179.7);
  EXPECT_GT(meters, 19.9e6);
  EXPECT_LT(meters, 20.05e6);
}

struct TClimbCase {
  std::string Name;
  std::vector<std::string> Elevations;  // "|" starts a new segment
  std::optional<double> Ascent, Descent;
};

void PrintTo(const TClimbCase& row, std::ostream* out) { *out << row.Name; }

class Climbing : public testing::TestWithParam<TClimbCase> {};

TEST_P(Climbing, IgnoresNoiseBelowTheThreshold) {
  TStatisticsCounter counter;
  for (const std::string& elevation : GetParam().Elevations) {
    if (elevation == "|") {
      counter.BeginSegment();
    } else {
      counter.Add("0", "0", elevation, NoTime);
    }
  }
  const TTrackStatistics result = counter.Result();
  EXPECT_EQ(result.AscentMeters, GetParam().Ascent);
  EXPECT_EQ(result.DescentMeters, GetParam().Descent);
}

INSTANTIATE_TEST_SUITE_P(
    Hysteresis, Climbing,
    testing::Values(
        TClimbCase{"Noise", {"100", "103", "99", "102", "100"}, 0, 0},
        TClimbCase{"SmallDipInAClimb", {"100", "106", "112", "108", "120"}, 20, 0},
        TClimbCase{"ThresholdItselfCounts", {"120", "110", "114", "104", "109"}, 5, 16},
        TClimbCase{"MissingElevationSkipped", {"100", "", "104", "x", "106"}, 6, 0},
        TClimbCase{"GapIsNotClimbed", {"100", "103", "|", "106", "108"}, 0, 0},
        TClimbCase{"NoElevationAtAll", {"", " "}, std::nullopt, std::nullopt}),
    test::TRowName());

TEST(Counter, SegmentsLeaveTheGapOut) {
  TStatisticsCounter counter;
  counter.Add("0", "0", std::nullopt, NoTime);
  counter.Add("0", "1", std::nullopt, NoTime);
  counter.BeginSegment();
  counter.Add("0", "10", std::nullopt, NoTime);
  counter.Add("0", "11", std::nullopt, NoTime);
  const TTrackStatistics result = counter.Result();
  EXPECT_EQ(result.Points, 4u);
  EXPECT_NEAR(result.DistanceMeters, 2 * 111319.4908, 1e-3);
  EXPECT_FALSE(result.DurationSeconds || result.MovingSeconds || result.AverageSpeed);
}

TEST(Counter, StopCountsForDurationOnly) {
  TStatisticsCounter counter;
  counter.Add("0", "0", std::nullopt, At(0));
  counter.Add("0", "0.01", std::nullopt, At(100));
  counter.Add("0", "0.01", std::nullopt, At(160));
  counter.Add("0", "0.02", std::nullopt, At(260));
  const TTrackStatistics result = counter.Result();
  const double step = 1113.1949079;  // a * 0.01 * pi / 180
  EXPECT_EQ(result.DurationSeconds, 260);
  EXPECT_EQ(result.MovingSeconds, 200);
  EXPECT_NEAR(result.DistanceMeters, 2 * step, 1e-6);
  EXPECT_NEAR(result.AverageSpeed.value_or(0), step / 100, 1e-8);
  EXPECT_NEAR(result.MaxSpeed.value_or(0), step / 100, 1e-8);
}

TEST(Counter, ZonesAreApplied) {
  TStatisticsCounter counter;
  counter.Add("0", "0", std::nullopt, {Day + 10.0 / 24, 120, true});      // 10:00+02:00
  counter.Add("0", "0.01", std::nullopt, {Day + 481.0 / 1440, 0, true});  // 08:01Z
  EXPECT_EQ(counter.Result().DurationSeconds, 60);
  EXPECT_NEAR(counter.Result().MaxSpeed.value_or(0), 1113.1949079 / 60, 1e-8);
}

TEST(Counter, PointsOutOfRangeAreIgnoredEntirely) {
  TStatisticsCounter counter;
  counter.Add(" 0\n", "+0.00", std::nullopt, At(0));
  for (const auto& [lat, lon] : std::vector<std::pair<std::string, std::string>>{
           {"91", "0"}, {"0", "180.5"}, {"abc", "0"}, {"", "0"}, {"1e1", "0"}, {"0", "nan"}}) {
    counter.Add(lat, lon, "500", At(1000));
  }
  counter.Add("0", "0.01", std::nullopt, At(100));
  const TTrackStatistics result = counter.Result();
  EXPECT_EQ(result.Points, 2u);
  EXPECT_NEAR(result.DistanceMeters, 1113.1949079, 1e-6);
  EXPECT_EQ(result.DurationSeconds, 100);
  EXPECT_FALSE(result.AscentMeters);
}

TEST(Counter, HeartRateSkipsPointsWithoutOne) {
  TStatisticsCounter counter;
  // "0" is a strap that lost contact.
  for (const std::optional<std::string_view> bpm :
       {std::optional<std::string_view>("120"), std::optional<std::string_view>(), {"140"}, {""},
        {"abc"}, {"0"}, {" 130 "}}) {
    counter.Add("0", "0", std::nullopt, NoTime, bpm);
  }
  EXPECT_EQ(counter.Result().AverageHeartRate, 130);
  EXPECT_EQ(counter.Result().MaxHeartRate, 140);
  EXPECT_FALSE(TStatisticsCounter().Result().AverageHeartRate);
}

TTrackStatistics SampleStatistics() {
  TTrackStatistics s;
  s.DistanceMeters = 12345.6;
  s.DurationSeconds = 7384;
  s.MovingSeconds = 6600;
  s.AscentMeters = 345.4;
  s.DescentMeters = 340;
  s.MaxSpeed = 9.78;
  s.AverageSpeed = 1.86;
  s.AverageHeartRate = 132.4;
  s.MaxHeartRate = 171;
  return s;
}

TEST(Description, MetricAndImperial) {
  EXPECT_EQ(DescribeStatistics(SampleStatistics(), TUnits::Metric),
            "Distance: 12.35 km\nDuration: 2:03:04\nMoving time: 1:50:00\nAscent: 345 m\n"
            "Descent: 340 m\nMax speed: 35.2 km/h\nAverage speed: 6.7 km/h\n"
            "Heart rate: 132 bpm average, 171 bpm max");
  EXPECT_EQ(DescribeStatistics(SampleStatistics(), TUnits::Imperial),
            "Distance: 7.67 mi\nDuration: 2:03:04\nMoving time: 1:50:00\nAscent: 1133 ft\n"
            "Descent: 1115 ft\nMax speed: 21.9 mph\nAverage speed: 4.2 mph\n"
            "Heart rate: 132 bpm average, 171 bpm max");
}

TEST(Description, LeavesAbsentQuantitiesOut) {
  TTrackStatistics s;
  s.DistanceMeters = 500;
  s.DurationSeconds = 90061;
  EXPECT_EQ(DescribeStatistics(s, TUnits::Metric), "Distance: 0.50 km\nDuration: 25:01:01");
}

TEST(Fields, NamesCarryTheUnit) {
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"distance_mi", "7.67"},   {"duration", "2:03:04"},    {"moving_time", "1:50:00"},
      {"ascent_ft", "1133"},     {"descent_ft", "1115"},     {"max_speed_mph", "21.9"},
      {"avg_speed_mph", "4.2"},  {"avg_heart_rate", "132"},  {"max_heart_rate", "171"}};
  EXPECT_EQ(StatisticsFields(SampleStatistics(), TUnits::Imperial), expected);
}

}  // namespace
}  // namespace tarvola::kml
