#include "kml/kml22_streamer.h"

#include "gps/gpx_extensions.h"
#include "gps/iso8601.h"
#include "kml/kml_text.h"

namespace tarvola::kml {

namespace {

// Depths inside the document: the placemarks in a kind's folder, those in a route's folder, and
// the lines of a track inside its placemark's geometry.
constexpr int BodyDepth = 3;
constexpr int RoutePointDepth = 4;
constexpr int SegmentDepth = 5;

std::optional<std::string_view> ElevationOf(const gps::TPointFields& point) {
  if (!point.HasEle) return std::nullopt;
  return std::string_view(point.Alt);
}

}  // namespace

TKml22Streamer::TBody::TBody(const std::filesystem::path& heldFolder)
    : Writer(Text, BodyDepth), Held(HeldMemoryLimit, heldFolder) {}

TKml22Streamer::TKml22Streamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink,
                               const std::filesystem::path& heldFolder)
    : FOptions(options),
      FCreated(createdText),
      FSink(sink),
      FBodies{TBody(heldFolder), TBody(heldFolder), TBody(heldFolder)},
      FPoints(heldFolder),
      FPlacemarkWriter(FPlacemarkText, RoutePointDepth),
      FGeometryWriter(FGeometryText, SegmentDepth),
      FPlacemarks(HeldMemoryLimit, heldFolder),
      FGeometry(HeldMemoryLimit, heldFolder) {}

void TKml22Streamer::WritePoint(TKmlWriter& writer, const gps::TPointFields& point, std::string_view styleUrl) {
  writer.Open("Placemark");
  writer.Text("name", point.Name);
  const std::string description = DescriptionOf(point.Desc, point.Cmt);
  if (!description.empty()) writer.Text("description", description);
  if (point.Time.Exists) {
    writer.Open("TimeStamp");
    writer.Text("when", gps::DateTimeZToXsd(point.Time));
    writer.Close();
  }
  writer.Text("styleUrl", styleUrl);
  // A point that no reader could place keeps its name and texts, not a broken position.
  if (FitsALine(point)) {
    writer.Open("Point");
    const bool elevation = point.HasEle && IsNumber(point.Alt);
    WritePointAltitude(writer, elevation, FOptions.Output);
    writer.BeginText("coordinates");
    writer.AppendText(gps::TrimXmlSpace(point.Lon));
    writer.AppendRaw(',');
    writer.AppendText(gps::TrimXmlSpace(point.Lat));
    writer.AppendRaw(',');
    writer.AppendText(elevation ? gps::TrimXmlSpace(point.Alt) : std::string_view("0"));
    writer.EndText();
    writer.Close();
  }
  writer.Close();
}

void TKml22Streamer::AddWaypoint(const gps::TPointFields& point) {
  if (!FOptions.Waypoints) return;
  TBody& body = FBodies[Waypoints];
  WritePoint(body.Writer, point, "#waypoint");
  FFacts.Waypoints = true;
  if (FitsALine(point)) FFacts.AddPosition(point.Lat, point.Lon);
  FFacts.Span.Add(point.Time);
  DrainFull(body.Writer, body.Held);
}

void TKml22Streamer::RouteBegin() {
  if (!FOptions.Routes) return;
  FPoints.Clear();
  FPlacemarks.Clear();
  FStatistics = {};
  FSpan = {};
}

void TKml22Streamer::AddRoutePoint(const gps::TPointFields& point) {
  if (!FOptions.Routes) return;
  WritePoint(FPlacemarkWriter, point, "#route-point");
  FFacts.RoutePoints = true;
  FSpan.Add(point.Time);
  FFacts.Span.Add(point.Time);
  if (FitsALine(point)) {
    FPoints.Add(point.Lat, point.Lon, point.Alt, point.HasEle, point.Time, nullptr);
    FStatistics.Add(point.Lat, point.Lon, ElevationOf(point), point.Time);
    FFacts.AddPosition(point.Lat, point.Lon);
  } else {
    ++FLeftOut;
  }
  DrainFull(FPlacemarkWriter, FPlacemarks);
}

std::string TKml22Streamer::StyleFor(std::string_view color, std::size_t& paletteNext) {
  const std::string line(color.empty() ? PaletteColor(paletteNext++) : color);
  FFacts.AddLineColor(line);
  return LineStyleUrl(line);
}

// A route's or track's placemark up to its geometry. One without points to draw has no
// style or statistics, and takes no colour from its neighbours.
void TKml22Streamer::BeginLinePlacemark(TKmlWriter& writer, std::string_view name, std::string_view color,
                                        std::size_t& paletteNext) {
  const TTrackStatistics statistics = FStatistics.Result();
  writer.Open("Placemark");
  writer.Text("name", name);
  const bool drawn = statistics.Points > 0;
  if (drawn) writer.Text("description", StatisticsDescription(statistics, FOptions.Output.Units));
  WriteInstantSpan(writer, FSpan);
  if (!drawn) return;
  writer.Text("styleUrl", StyleFor(color, paletteNext));
  WriteStatisticsData(writer, statistics, FOptions.Output.Units);
}

void TKml22Streamer::EndRoute(std::string_view name, std::string_view color) {
  if (!FOptions.Routes) return;
  FPlacemarkWriter.Drain(FPlacemarks);
  TBody& body = FBodies[Routes];
  body.Writer.Open("Folder");
  body.Writer.Text("name", name);
  body.Writer.Text("open", "0");
  FPlacemarks.CopyTo(body.Writer, body.Held, 0, FPlacemarks.Size());
  BeginLinePlacemark(body.Writer, name, color, FNextRouteColor);
  if (FPoints.Count() > 0) WriteLineString(body.Writer, body.Held, FPoints, FOptions.Output);
  body.Writer.Close();
  body.Writer.Close();
  DrainFull(body.Writer, body.Held);
  FPoints.Clear();
  FPlacemarks.Clear();
}

void TKml22Streamer::TrackBegin() {
  if (!FOptions.Tracks) return;
  FPoints.Clear();
  FGeometry.Clear();
  FSegments = FLineStrings = 0;
  FStatistics = {};
  FSpan = {};
}

void TKml22Streamer::SegmentBegin() {
  if (!FOptions.Tracks) return;
  if (!FOptions.JoinSegments) EndSegment();
  FStatistics.BeginSegment();
}

void TKml22Streamer::AddTrackPoint(const gps::TTrkPt& point) {
  if (!FOptions.Tracks) return;
  if (!FitsALine(point)) {
    ++FLeftOut;
    return;
  }
  FPoints.Add(point.Lat, point.Lon, point.Alt, point.HasEle, point.Time, &point.Sensors);
  FStatistics.Add(point.Lat, point.Lon, point.HasEle ? std::optional<std::string_view>(point.Alt) : std::nullopt,
                  point.Time, point.Sensors.Find(gps::TSensor::HeartRate));
  FSpan.Add(point.Time);
  FFacts.Span.Add(point.Time);
  FFacts.AddPosition(point.Lat, point.Lon);
}

// A gx:Track where the profile has them and every point has a time; else a LineString.
void TKml22Streamer::WriteLine(TKmlWriter& writer, TKmlSink& sink) {
  if (FOptions.Output.Profile == TProfile::Earth && FPoints.AllTimed()) {
    WriteGxTrack(writer, sink, FPoints, FOptions.Output);
    FFacts.Sensors |= FPoints.Sensors();
  } else {
    WriteLineString(writer, sink, FPoints, FOptions.Output);
    ++FLineStrings;
  }
}

void TKml22Streamer::EndSegment() {
  if (FPoints.Count() == 0) return;
  WriteLine(FGeometryWriter, FGeometry);
  ++FSegments;
  DrainFull(FGeometryWriter, FGeometry);
  FPoints.Clear();
}

void TKml22Streamer::EndTrack(std::string_view name, std::string_view color) {
  if (!FOptions.Tracks) return;
  TBody& body = FBodies[Tracks];
  if (!FOptions.JoinSegments) EndSegment();
  BeginLinePlacemark(body.Writer, name, color, FNextTrackColor);
  if (FOptions.JoinSegments) {
    if (FPoints.Count() > 0) WriteLine(body.Writer, body.Held);
  } else if (FSegments > 0) {
    // Only gx:Tracks make a gx:MultiTrack; a gap between them stays a gap.
    const bool multiTrack = FLineStrings == 0 && FOptions.Output.Profile == TProfile::Earth;
    body.Writer.Open(multiTrack ? "gx:MultiTrack" : "MultiGeometry");
    if (multiTrack) body.Writer.Text("gx:interpolate", "0");
    FGeometryWriter.Drain(FGeometry);
    FGeometry.CopyTo(body.Writer, body.Held, 0, FGeometry.Size());
    body.Writer.Close();
  }
  body.Writer.Close();
  DrainFull(body.Writer, body.Held);
  FPoints.Clear();
  FGeometry.Clear();
}

void TKml22Streamer::WriteBody(TKmlWriter& writer, TKind kind, std::string_view folderName) {
  TBody& body = FBodies[kind];
  body.Writer.Drain(body.Held);
  if (body.Held.Empty()) return;
  writer.Open("Folder");
  writer.Text("name", folderName);
  writer.Text("visibility", "1");
  writer.Text("open", "0");
  body.Held.CopyTo(writer, FSink, 0, body.Held.Size());
  writer.Close();
  writer.Drain(FSink);
}

void TKml22Streamer::Finish() {
  std::string text;
  TKmlWriter writer(text);
  BeginKml22Document(writer, FSink, FOptions.Output, FCreated, FFacts);
  WriteBody(writer, Waypoints, "Waypoints");
  WriteBody(writer, Routes, "Routes");
  WriteBody(writer, Tracks, "Tracks");
  writer.Close();
  writer.Close();
  writer.Drain(FSink);
}

}  // namespace tarvola::kml
