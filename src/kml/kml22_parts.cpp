#include "kml/kml22_parts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdio>

#include "gps/gpx_extensions.h"
#include "gps/iso8601.h"
#include "kml/document_streamer.h"
#include "kml/kml_folders.h"

namespace tarvola::kml {

namespace {

constexpr std::string_view Kml22Namespace = "http://www.opengis.net/kml/2.2";
constexpr std::string_view GxNamespace = "http://www.google.com/kml/ext/2.2";

// By TAltitude.
constexpr std::array<std::string_view, 3> AltitudeModes{"clampToGround", "relativeToGround", "absolute"};

struct TSensorField {
  std::string_view Name;
  std::string_view DisplayName;
};

// By gps::TSensor.
constexpr std::array<TSensorField, gps::SensorCount> SensorFields{{
    {"heartrate", "Heart rate (bpm)"},
    {"cadence", "Cadence (rpm)"},
    {"power", "Power (W)"},
    {"temperature", "Temperature (\xC2\xB0" "C)"},
    {"water_temperature", "Water temperature (\xC2\xB0" "C)"},
    {"depth", "Depth (m)"},
    {"speed", "Speed (m/s)"},
    {"course", "Course (\xC2\xB0)"},
}};

double Degrees(std::string_view text) {
  text = gps::TrimXmlSpace(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return value;
}

std::string Fixed(double value, int decimals) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

void WriteIconStyle(TKmlWriter& writer, std::string_view id, std::string_view icon, bool hotSpot) {
  writer.Open("Style", {{"id", id}});
  writer.Open("IconStyle");
  writer.Open("Icon");
  writer.Text("href", icon);
  writer.Close();
  if (hotSpot) writer.Empty("hotSpot", {{"x", "20"}, {"y", "2"}, {"xunits", "pixels"}, {"yunits", "pixels"}});
  writer.Close();
  writer.Close();
}

void WriteLineStyle(TKmlWriter& writer, std::string_view color, std::string_view width) {
  // KML colours run alpha, blue, green, red.
  const std::string kmlColor = "ff" + std::string(color.substr(4, 2)) + std::string(color.substr(2, 2)) +
                               std::string(color.substr(0, 2));
  writer.Open("Style", {{"id", LineStyleUrl(color).substr(1)}});
  writer.Open("LineStyle");
  writer.Text("color", kmlColor);
  writer.Text("width", width);
  writer.Close();
  writer.Close();
}

// Looks down on the box of all the data from high enough to see it whole.
void WriteLookAt(TKmlWriter& writer, const TOutputProfile& profile, const TDocumentFacts& facts) {
  if (!facts.HasBox) return;
  writer.Open("LookAt");
  if (profile.Profile == TProfile::Earth) WriteInstantSpan(writer, facts.Span, "gx:TimeSpan");
  const TDocumentFacts::TView view = facts.View();
  writer.Text("longitude", Fixed(view.Lon, 6));
  writer.Text("latitude", Fixed(view.Lat, 6));
  writer.Text("altitude", "0");
  writer.Text("heading", "0");
  writer.Text("tilt", "0");
  writer.Text("range", Fixed(std::max(1000.0, view.Diagonal * 1.5), 0));
  writer.Text("altitudeMode", "relativeToGround");
  writer.Close();
}

void WriteSensorSchema(TKmlWriter& writer, unsigned sensors) {
  if (sensors == 0) return;
  writer.Open("Schema", {{"name", "sensors"}, {"id", "sensors"}});
  for (std::size_t n = 0; n < SensorFields.size(); ++n) {
    if ((sensors & (1u << n)) == 0) continue;
    writer.Open("gx:SimpleArrayField", {{"name", SensorFields[n].Name}, {"type", "float"}});
    writer.Text("displayName", SensorFields[n].DisplayName);
    writer.Close();
  }
  writer.Close();
}

TAltitude AltitudeOf(const TPointRecords& points, const TOutputProfile& profile) {
  return points.AllHaveElevation() ? profile.Altitude : TAltitude::Clamp;
}

void WriteAltitudeMode(TKmlWriter& writer, TAltitude altitude, const TOutputProfile& profile) {
  if (altitude == TAltitude::Clamp) {
    writer.Text("tessellate", "1");
  } else if (profile.Extrude) {
    writer.Text("extrude", "1");
  }
  writer.Text("altitudeMode", AltitudeModes[std::size_t(altitude)]);
}

void WriteRaw(TKmlWriter& writer, std::string_view name, std::string_view escaped) {
  writer.BeginText(name);
  writer.AppendRaw(escaped);
  writer.EndText();
}

}  // namespace

void TInstantSpan::Add(const gps::TDateTimeZ& value) {
  if (!value.Exists) return;
  const double utc = value.DateTime - value.TimeZone / 1440.0;
  if (!FBegin.Exists || utc < FBeginUtc) FBegin = value, FBeginUtc = utc;
  if (!FEnd.Exists || utc > FEndUtc) FEnd = value, FEndUtc = utc;
}

void WriteInstantSpan(TKmlWriter& writer, const TInstantSpan& span, std::string_view element) {
  if (span.Empty()) return;
  writer.Open(element);
  writer.Text("begin", gps::DateTimeZToXsd(span.Begin()));
  writer.Text("end", gps::DateTimeZToXsd(span.End()));
  writer.Close();
}

void TDocumentFacts::AddPosition(std::string_view lat, std::string_view lon) {
  const double latitude = Degrees(lat), longitude = Degrees(lon);
  const double longitude360 = longitude < 0 ? longitude + 360 : longitude;
  if (!HasBox) {
    South = North = latitude;
    West = East = longitude;
    FWest360 = FEast360 = longitude360;
    HasBox = true;
    return;
  }
  South = std::min(South, latitude);
  North = std::max(North, latitude);
  West = std::min(West, longitude);
  East = std::max(East, longitude);
  FWest360 = std::min(FWest360, longitude360);
  FEast360 = std::max(FEast360, longitude360);
}

TDocumentFacts::TView TDocumentFacts::View() const {
  double west = West, east = East;
  if (FEast360 - FWest360 < East - West) {
    west = FWest360;
    east = FEast360;
  }
  double middle = (west + east) / 2;
  if (middle > 180) middle -= 360;
  const double half = (east - west) / 2;
  return {(South + North) / 2, middle, EllipsoidDistance(South, middle - half, North, middle + half)};
}

void TDocumentFacts::AddLineColor(std::string_view color) {
  unsigned value = 0;
  std::from_chars(color.data(), color.data() + color.size(), value, 16);
  if (LineColors.empty()) LineColors.resize((1u << 24) / 64);
  value &= 0xffffffu;
  LineColors[value / 64] |= std::uint64_t(1) << (value % 64);
}

void BeginKml22Document(TKmlWriter& writer, TKmlSink& sink, const TOutputProfile& profile,
                        std::string_view createdText, const TDocumentFacts& facts) {
  writer.Declaration();
  if (profile.Profile == TProfile::Earth)
    writer.Open("kml", {{"xmlns", Kml22Namespace}, {"xmlns:gx", GxNamespace}});
  else
    writer.Open("kml", {{"xmlns", Kml22Namespace}});
  writer.Open("Document");
  writer.Text("name", "GPS device");
  writer.Text("open", "1");
  std::string snippet = "Created ";
  snippet.append(createdText);
  writer.Text("Snippet", snippet, {{"maxLines", "1"}});
  WriteLookAt(writer, profile, facts);
  if (facts.Waypoints) WriteIconStyle(writer, "waypoint", PushpinIcon, true);
  if (facts.RoutePoints) WriteIconStyle(writer, "route-point", Icon60, false);
  for (std::size_t word = 0; word < facts.LineColors.size(); ++word) {
    for (std::uint64_t bits = facts.LineColors[word]; bits != 0; bits &= bits - 1) {
      char color[24];
      std::snprintf(color, sizeof color, "%06zx", word * 64 + std::size_t(std::countr_zero(bits)));
      WriteLineStyle(writer, color, profile.LineWidth);
      DrainFull(writer, sink);
    }
  }
  WriteSensorSchema(writer, facts.Sensors);
}

void WritePointAltitude(TKmlWriter& writer, bool hasElevation, const TOutputProfile& profile) {
  if (!hasElevation || profile.Altitude == TAltitude::Clamp) return;
  if (profile.Extrude) writer.Text("extrude", "1");
  writer.Text("altitudeMode", AltitudeModes[std::size_t(profile.Altitude)]);
}

std::string_view PaletteColor(std::size_t n) {
  // Eight colours far apart from each other and from the greens and browns of the ground.
  static constexpr std::array<std::string_view, 8> Palette{"e6194b", "4363d8", "f58231", "911eb4",
                                                           "42d4f4", "f032e6", "ffe119", "3cb44b"};
  return Palette[n % Palette.size()];
}

std::string LineStyleUrl(std::string_view color) { return "#line-" + std::string(color); }

void WriteGxTrack(TKmlWriter& writer, TKmlSink& sink, TPointRecords& points, const TOutputProfile& profile) {
  writer.Open("gx:Track");
  WriteAltitudeMode(writer, AltitudeOf(points, profile), profile);
  points.ForEach([&](const TPointRecords::TRecord& point) {
    WriteRaw(writer, "when", point[TPointRecords::When]);
    DrainFull(writer, sink);
  });
  std::string coord;
  points.ForEach([&](const TPointRecords::TRecord& point) {
    coord.assign(point[TPointRecords::Lon]).append(" ").append(point[TPointRecords::Lat]);
    coord.append(" ").append(point[TPointRecords::Alt]);
    WriteRaw(writer, "gx:coord", coord);
    DrainFull(writer, sink);
  });
  if (points.Sensors() != 0) {
    writer.Open("ExtendedData");
    writer.Open("SchemaData", {{"schemaUrl", "#sensors"}});
    for (std::size_t n = 0; n < gps::SensorCount; ++n) {
      if ((points.Sensors() & (1u << n)) == 0) continue;
      writer.Open("gx:SimpleArrayData", {{"name", SensorFields[n].Name}});
      points.ForEach([&](const TPointRecords::TRecord& point) {
        WriteRaw(writer, "gx:value", point[TPointRecords::FirstSensor + n]);
        DrainFull(writer, sink);
      });
      writer.Close();
    }
    writer.Close();
    writer.Close();
  }
  writer.Close();
}

void AppendTuple(TKmlWriter& writer, const TPointRecords::TRecord& point) {
  writer.AppendRaw(point[TPointRecords::Lon]);
  writer.AppendRaw(',');
  writer.AppendRaw(point[TPointRecords::Lat]);
  writer.AppendRaw(',');
  writer.AppendRaw(point[TPointRecords::Alt]);
}

// A line needs two points; a one-point segment or route is that point.
void WriteOnePoint(TKmlWriter& writer, TPointRecords& points, const TOutputProfile& profile) {
  writer.Open("Point");
  WritePointAltitude(writer, points.AllHaveElevation(), profile);
  points.ForEach([&](const TPointRecords::TRecord& point) {
    writer.BeginText("coordinates");
    AppendTuple(writer, point);
    writer.EndText();
  });
  writer.Close();
}

void WriteLineString(TKmlWriter& writer, TKmlSink& sink, TPointRecords& points, const TOutputProfile& profile) {
  if (points.Count() == 1) {
    WriteOnePoint(writer, points, profile);
    return;
  }
  writer.Open("LineString");
  WriteAltitudeMode(writer, AltitudeOf(points, profile), profile);
  writer.BeginText("coordinates");
  points.ForEach([&](const TPointRecords::TRecord& point) {
    AppendTuple(writer, point);
    writer.AppendRaw(' ');
    DrainFull(writer, sink);
  });
  writer.EndText();
  writer.Close();
}

std::string StatisticsDescription(const TTrackStatistics& statistics, TUnits units) {
  // Balloons show descriptions as HTML.
  std::string text = DescribeStatistics(statistics, units);
  for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "<br/>");
  return text;
}

void WriteStatisticsData(TKmlWriter& writer, const TTrackStatistics& statistics, TUnits units) {
  writer.Open("ExtendedData");
  for (const auto& [name, value] : StatisticsFields(statistics, units)) {
    writer.Open("Data", {{"name", name}});
    writer.Text("value", value);
    writer.Close();
  }
  writer.Close();
}

}  // namespace tarvola::kml
