#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gps/iso8601.h"
#include "kml/kml_profile.h"

namespace tarvola::kml {

struct TTrackStatistics {
  std::uint64_t Points = 0;                // points with a usable lat/lon
  double DistanceMeters = 0;               // WGS 84 ellipsoid, within segments only
  std::optional<double> DurationSeconds;   // earliest to latest timed point, zones applied
  std::optional<double> MovingSeconds;     // steps at MovingSpeed or faster
  std::optional<double> AscentMeters, DescentMeters;  // absent when no point has an elevation
  std::optional<double> MaxSpeed;          // m/s, over steps with a positive time difference
  std::optional<double> AverageSpeed;      // m/s: moving distance / moving time
  std::optional<double> AverageHeartRate, MaxHeartRate;  // bpm
};

inline constexpr double MovingSpeed = 0.5;     // m/s
inline constexpr double ClimbThreshold = 5.0;  // m: elevation noise below this is not counted

// Sums up one track or route from its points in file order, in constant memory: a track may
// hold millions of points.
class TStatisticsCounter {
public:
  // The next point starts a new segment: the gap before it is neither travelled nor climbed.
  void BeginSegment();
  // Texts as the file holds them. A point whose lat or lon is not a number in range is ignored
  // entirely; an empty or non-numeric ele or heart rate counts as none, and so does a heart rate
  // of 0 or less.
  void Add(std::string_view lat, std::string_view lon, std::optional<std::string_view> ele,
           const gps::TDateTimeZ& time, std::optional<std::string_view> heartRate = std::nullopt);
  TTrackStatistics Result() const;

private:
  struct TFix {
    double Lat = 0, Lon = 0;
    std::optional<double> Seconds;
  };

  void Step(const TFix& from, const TFix& to);
  void Climb(double elevation);
  void HeartRate(double bpm);

  std::uint64_t FPoints = 0;
  double FDistance = 0;
  std::optional<TFix> FPrevious;  // within the current segment only
  std::optional<double> FFirstSeconds, FLastSeconds;
  std::optional<double> FMaxSpeed;  // set by the first timed step
  double FMovingSeconds = 0, FMovingMeters = 0;
  std::optional<double> FClimbReference;  // within the current segment only
  bool FElevation = false;
  double FAscent = 0, FDescent = 0;
  std::uint64_t FHeartCount = 0;
  double FHeartSum = 0, FHeartMax = 0;
};

// Geodesic distance in metres on the WGS 84 ellipsoid (Vincenty's inverse formula); nearly
// antipodal points, where it does not converge, get a great-circle estimate on the mean radius.
double EllipsoidDistance(double lat1, double lon1, double lat2, double lon2);

// One quantity per line ("Distance: 12.35 km"), absent quantities left out; durations as
// H:MM:SS, numbers the same in every locale.
std::string DescribeStatistics(const TTrackStatistics& s, TUnits units);

// The same as name/value pairs for ExtendedData: the unit goes into the name ("distance_km").
std::vector<std::pair<std::string, std::string>> StatisticsFields(const TTrackStatistics& s,
                                                                  TUnits units);

}  // namespace tarvola::kml
