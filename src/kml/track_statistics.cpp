#include "track_statistics.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace tarvola::kml {

namespace {

constexpr double EquatorRadius = 6378137.0;
constexpr double Flattening = 1 / 298.257223563;
constexpr double PolarRadius = EquatorRadius * (1 - Flattening);
constexpr double MetersPerMile = 1609.344;
constexpr double MetersPerFoot = 0.3048;

double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

// xsd:decimal as GPX writes numbers: no exponent, a leading '+' allowed, XML white space around.
std::optional<double> Number(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<double> Degrees(std::string_view text, double limit) {
  const std::optional<double> value = Number(text);
  return value && std::abs(*value) <= limit ? value : std::nullopt;
}

// Stamps carry milliseconds; rounding to them keeps a 60 s step from reading as 59.99999 s.
double UtcSeconds(const gps::TDateTimeZ& time) {
  return std::round((time.DateTime - time.TimeZone / 1440.0) * 86400.0 * 1000.0) / 1000.0;
}

double GreatCircle(double lat1, double lon1, double lat2, double lon2) {
  const double dLat = std::sin(Radians(lat2 - lat1) / 2), dLon = std::sin(Radians(lon2 - lon1) / 2);
  const double h = dLat * dLat + std::cos(Radians(lat1)) * std::cos(Radians(lat2)) * dLon * dLon;
  return 2 * (2 * EquatorRadius + PolarRadius) / 3 * std::asin(std::min(1.0, std::sqrt(h)));
}

// Where the iteration settled on the auxiliary sphere.
struct TArc {
  double Sigma = 0, SinSigma = 0, CosSigma = 0;
  double Cos2Alpha = 0;  // of the azimuth at the equator
  double Cos2M = 0;      // of twice the arc to the line's midpoint
};

double EllipsoidLength(const TArc& arc) {
  const double b2 = PolarRadius * PolarRadius;
  const double uu = arc.Cos2Alpha * (EquatorRadius * EquatorRadius - b2) / b2;
  const double a = 1 + uu / 16384 * (4096 + uu * (-768 + uu * (320 - 175 * uu)));
  const double b = uu / 1024 * (256 + uu * (-128 + uu * (74 - 47 * uu)));
  const double m2 = arc.Cos2M * arc.Cos2M, s2 = arc.SinSigma * arc.SinSigma;
  const double inner =
      arc.CosSigma * (2 * m2 - 1) - b / 6 * arc.Cos2M * (4 * s2 - 3) * (4 * m2 - 3);
  const double deltaSigma = b * arc.SinSigma * (arc.Cos2M + b / 4 * inner);
  return PolarRadius * a * (arc.Sigma - deltaSigma);
}

std::string Fixed(double value, int decimals) {
  std::array<char, 400> text{};  // room for any double in fixed notation
  char* const end = text.data() + text.size();
  const auto result = std::to_chars(text.data(), end, value, std::chars_format::fixed, decimals);
  return std::string(text.data(), result.ptr);
}

std::string Clock(double seconds) {
  const long long total = std::llround(std::abs(seconds));
  std::string text = seconds < 0 && total > 0 ? "-" : "";
  text += std::to_string(total / 3600);
  for (const long long part : {total / 60 % 60, total % 60}) {
    text += ':';
    text += static_cast<char>('0' + part / 10);
    text += static_cast<char>('0' + part % 10);
  }
  return text;
}

struct TEntry {
  std::string Field;
  std::string Value;
  std::string Line;  // empty when another entry's line tells it
};

// Two fields, one line.
void AddHeartRate(std::vector<TEntry>& entries, const TTrackStatistics& s) {
  std::string line;
  if (s.AverageHeartRate) {
    entries.push_back({"avg_heart_rate", Fixed(*s.AverageHeartRate, 0), ""});
    line = entries.back().Value + " bpm average";
  }
  if (s.MaxHeartRate) {
    entries.push_back({"max_heart_rate", Fixed(*s.MaxHeartRate, 0), ""});
    line += (line.empty() ? "" : ", ") + entries.back().Value + " bpm max";
  }
  if (!line.empty()) entries.back().Line = "Heart rate: " + line;
}

std::vector<TEntry> Entries(const TTrackStatistics& s, TUnits units) {
  const bool metric = units == TUnits::Metric;
  const std::string distance = metric ? "km" : "mi", height = metric ? "m" : "ft";
  const std::string speed = metric ? "kmh" : "mph", speedLabel = metric ? "km/h" : "mph";
  const double meters = metric ? 1000 : MetersPerMile, perSecond = meters / 3600;
  const double heightMeters = metric ? 1 : MetersPerFoot;
  std::vector<TEntry> entries;
  const auto add = [&](std::string field, std::string_view label, std::string value,
                       std::string_view unit) {
    std::string line = std::string(label) + ": " + value;
    if (!unit.empty()) line.append(" ").append(unit);
    entries.push_back({std::move(field), std::move(value), std::move(line)});
  };
  add("distance_" + distance, "Distance", Fixed(s.DistanceMeters / meters, 2), distance);
  if (s.DurationSeconds) add("duration", "Duration", Clock(*s.DurationSeconds), "");
  if (s.MovingSeconds) add("moving_time", "Moving time", Clock(*s.MovingSeconds), "");
  if (s.AscentMeters) {
    add("ascent_" + height, "Ascent", Fixed(*s.AscentMeters / heightMeters, 0), height);
  }
  if (s.DescentMeters) {
    add("descent_" + height, "Descent", Fixed(*s.DescentMeters / heightMeters, 0), height);
  }
  if (s.MaxSpeed) {
    add("max_speed_" + speed, "Max speed", Fixed(*s.MaxSpeed / perSecond, 1), speedLabel);
  }
  if (s.AverageSpeed) {
    add("avg_speed_" + speed, "Average speed", Fixed(*s.AverageSpeed / perSecond, 1), speedLabel);
  }
  AddHeartRate(entries, s);
  return entries;
}

}  // namespace

double EllipsoidDistance(double lat1, double lon1, double lat2, double lon2) {
  const double f = Flattening;
  const double longitude = std::remainder(Radians(lon2 - lon1), 2 * std::numbers::pi);
  const double u1 = std::atan((1 - f) * std::tan(Radians(lat1)));
  const double u2 = std::atan((1 - f) * std::tan(Radians(lat2)));
  const double sinU1 = std::sin(u1), cosU1 = std::cos(u1);
  const double sinU2 = std::sin(u2), cosU2 = std::cos(u2);
  double lambda = longitude;
  for (int round = 0; round < 200; ++round) {
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const double across = cosU1 * sinU2 - sinU1 * cosU2 * cosLambda;
    TArc arc;
    arc.SinSigma = std::hypot(cosU2 * sinLambda, across);
    if (arc.SinSigma == 0) return 0;
    arc.CosSigma = sinU1 * sinU2 + cosU1 * cosU2 * cosLambda;
    arc.Sigma = std::atan2(arc.SinSigma, arc.CosSigma);
    const double sinAlpha = cosU1 * cosU2 * sinLambda / arc.SinSigma;
    arc.Cos2Alpha = 1 - sinAlpha * sinAlpha;
    // On the equator Cos2Alpha is 0 and the midpoint term drops out anyway.
    arc.Cos2M = arc.Cos2Alpha != 0 ? arc.CosSigma - 2 * sinU1 * sinU2 / arc.Cos2Alpha : 0;
    const double c = f / 16 * arc.Cos2Alpha * (4 + f * (4 - 3 * arc.Cos2Alpha));
    const double wave = arc.Cos2M + c * arc.CosSigma * (2 * arc.Cos2M * arc.Cos2M - 1);
    const double previous = lambda;
    lambda = longitude + (1 - c) * f * sinAlpha * (arc.Sigma + c * arc.SinSigma * wave);
    if (std::abs(lambda) > std::numbers::pi) break;
    if (std::abs(lambda - previous) < 1e-12) return EllipsoidLength(arc);
  }
  return GreatCircle(lat1, lon1, lat2, lon2);
}

void TStatisticsCounter::BeginSegment() {
  FPrevious.reset();
  FClimbReference.reset();
}

void TStatisticsCounter::Add(std::string_view lat, std::string_view lon,
                             std::optional<std::string_view> ele, const gps::TDateTimeZ& time,
                             std::optional<std::string_view> heartRate) {
  const std::optional<double> latitude = Degrees(lat, 90), longitude = Degrees(lon, 180);
  if (!latitude || !longitude) return;
  ++FPoints;
  TFix fix{*latitude, *longitude, std::nullopt};
  if (time.Exists) {
    fix.Seconds = UtcSeconds(time);
    // Earliest to latest, as a track's stamps need not run forward.
    FFirstSeconds = std::min(FFirstSeconds.value_or(*fix.Seconds), *fix.Seconds);
    FLastSeconds = std::max(FLastSeconds.value_or(*fix.Seconds), *fix.Seconds);
  }
  if (FPrevious) Step(*FPrevious, fix);
  FPrevious = fix;
  if (const std::optional<double> elevation = ele ? Number(*ele) : std::nullopt) {
    Climb(*elevation);
  }
  if (const std::optional<double> bpm = heartRate ? Number(*heartRate) : std::nullopt) {
    HeartRate(*bpm);
  }
}

void TStatisticsCounter::Step(const TFix& from, const TFix& to) {
  const double meters = EllipsoidDistance(from.Lat, from.Lon, to.Lat, to.Lon);
  FDistance += meters;
  if (!from.Seconds || !to.Seconds || *to.Seconds <= *from.Seconds) return;
  const double seconds = *to.Seconds - *from.Seconds;
  const double speed = meters / seconds;
  FMaxSpeed = std::max(FMaxSpeed.value_or(0), speed);
  if (speed < MovingSpeed) return;
  FMovingSeconds += seconds;
  FMovingMeters += meters;
}

void TStatisticsCounter::Climb(double elevation) {
  FElevation = true;
  if (!FClimbReference) {
    FClimbReference = elevation;
    return;
  }
  const double rise = elevation - *FClimbReference;
  if (rise >= ClimbThreshold) {
    FAscent += rise;
  } else if (-rise >= ClimbThreshold) {
    FDescent -= rise;
  } else {
    return;
  }
  FClimbReference = elevation;
}

// A strap that loses contact reports 0; that is no heart rate, not a resting one.
void TStatisticsCounter::HeartRate(double bpm) {
  if (bpm <= 0) return;
  ++FHeartCount;
  FHeartSum += bpm;
  FHeartMax = std::max(FHeartMax, bpm);
}

TTrackStatistics TStatisticsCounter::Result() const {
  TTrackStatistics result;
  result.Points = FPoints;
  result.DistanceMeters = FDistance;
  if (FFirstSeconds) result.DurationSeconds = *FLastSeconds - *FFirstSeconds;
  if (FMaxSpeed) {
    result.MovingSeconds = FMovingSeconds;
    result.MaxSpeed = FMaxSpeed;
  }
  if (FMovingSeconds > 0) result.AverageSpeed = FMovingMeters / FMovingSeconds;
  if (FElevation) {
    result.AscentMeters = FAscent;
    result.DescentMeters = FDescent;
  }
  if (FHeartCount > 0) {
    result.AverageHeartRate = FHeartSum / static_cast<double>(FHeartCount);
    result.MaxHeartRate = FHeartMax;
  }
  return result;
}

std::string DescribeStatistics(const TTrackStatistics& s, TUnits units) {
  std::string text;
  for (const TEntry& entry : Entries(s, units)) {
    if (entry.Line.empty()) continue;
    if (!text.empty()) text += '\n';
    text += entry.Line;
  }
  return text;
}

std::vector<std::pair<std::string, std::string>> StatisticsFields(const TTrackStatistics& s,
                                                                  TUnits units) {
  std::vector<std::pair<std::string, std::string>> fields;
  for (TEntry& entry : Entries(s, units)) {
    fields.emplace_back(std::move(entry.Field), std::move(entry.Value));
  }
  return fields;
}

}  // namespace tarvola::kml
