#include "kml/kml_streamer.h"

#include "kml/kml_folders.h"
#include "kml/kml_text.h"

namespace tarvola::kml {

namespace {

constexpr std::size_t DrainSize = 1u << 20;

// Depths inside the document: a list folder's items, and the placemarks inside an item.
constexpr int ItemDepth = 3;
constexpr int PlacemarkDepth = 4;

template <typename TPoint>
void AppendCoord(TKmlWriter& writer, const TPoint& point) {
  AppendCoordTriple(writer, point);
  writer.AppendRaw(' ');
}

}  // namespace

void TKmlStreamer::TStampSpan::Add(const gps::TDateTimeZ& value) {
  if (!value.Exists) return;
  if (!Begin) {
    Begin = value;
    End = value;
    return;
  }
  if (value.DateTime < Begin->DateTime) Begin = value;
  if (value.DateTime > End->DateTime) End = value;
}

void TKmlStreamer::TStampSpan::WriteTo(TKmlWriter& writer) const {
  TTimeSpan span;
  if (Begin) span.Add(*Begin);
  if (End) span.Add(*End);
  WriteTimeSpan(writer, span);
}

TKmlStreamer::TKmlStreamer(const TExportOptions& options, std::string_view createdText,
                           TKmlSink& sink, TKindOrder order)
    : FOptions(options),
      FSink(sink),
      FOrder(order),
      FWriter(FText),
      FLaterWriters{TKmlWriter(FLaterText[0], ItemDepth), TKmlWriter(FLaterText[1], ItemDepth)},
      FPlacemarkWriter(FPlacemarkText, PlacemarkDepth),
      FCoordWriter(FCoordText, 0) {
  BeginKmlDocument(FWriter, createdText);
}

// Opens the folder of `kind` in the document, closing the one before; a kind that comes back
// after a later one cannot be written in its place any more.
void TKmlStreamer::Enter(TKind kind) {
  if (kind == FOpenKind) return;
  if (FOrder == TKindOrder::Later && kind != WaypointKind) return;
  if (kind < FOpenKind) throw EOutOfOrder();
  if (FOpenKind != NoKind) FWriter.Close();
  FOpenKind = kind;
  if (kind == WaypointKind)
    OpenWaypointsFolder(FWriter);
  else
    OpenListFolder(FWriter, kind == RouteKind ? "Routes" : "Tracks");
}

TKmlStreamer::TDestination TKmlStreamer::DestinationOf(TKind kind) {
  if (FOrder == TKindOrder::AsRead || kind == WaypointKind) return {&FWriter, &FSink};
  const int index = kind == RouteKind ? 0 : 1;
  return {&FLaterWriters[index], &FLater[index]};
}

void TKmlStreamer::Waypoint(gps::TWpt& point) {
  if (!FOptions.Waypoints) return;
  Enter(WaypointKind);
  WritePointPlacemark(FWriter, point, "#msn_ylw-pushpin", FOptions.TimeStamps ? &point.Time : nullptr);
  if (FWriter.Pending() >= DrainSize) FWriter.Drain(FSink);
}

void TKmlStreamer::RouteBegin() {
  if (!FOptions.Routes) return;
  Enter(RouteKind);
  FPlacemarks.Clear();
  FCoords.Clear();
  FSpan = {};
}

void TKmlStreamer::RoutePoint(gps::TRtePt& point) {
  if (!FOptions.Routes) return;
  if (FOptions.TimeStamps) FSpan.Add(point.Time);
  WritePointPlacemark(FPlacemarkWriter, point, "#msn_icon60", nullptr);
  AppendCoord(FCoordWriter, point);
  if (FPlacemarkWriter.Pending() >= DrainSize) FPlacemarkWriter.Drain(FPlacemarks);
  if (FCoordWriter.Pending() >= DrainSize) FCoordWriter.Drain(FCoords);
}

void TKmlStreamer::RouteEnd(std::string& name, bool) {
  if (!FOptions.Routes) return;
  FPlacemarkWriter.Drain(FPlacemarks);
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(RouteKind);
  OpenItemFolder(*to.Writer, name);
  if (FOptions.TimeStamps) FSpan.WriteTo(*to.Writer);
  FPlacemarks.CopyTo(*to.Writer, *to.Sink, 0, FPlacemarks.Size());
  std::string lineName = "Legs (";
  lineName.append(name);
  lineName.push_back(')');
  BeginLinePlacemark(*to.Writer, lineName, "#RouteLineStyle");
  FCoords.CopyTo(*to.Writer, *to.Sink, 0, FCoords.Size());
  EndLinePlacemark(*to.Writer);
  to.Writer->Close();
  if (to.Writer->Pending() >= DrainSize) to.Writer->Drain(*to.Sink);
  FPlacemarks.Clear();
  FCoords.Clear();
}

void TKmlStreamer::TrackBegin() {
  if (!FOptions.Tracks) return;
  Enter(TrackKind);
  FCoords.Clear();
  FSegmentStarts.clear();
  FSpan = {};
}

void TKmlStreamer::SegmentBegin() {
  if (!FOptions.Tracks) return;
  FCoordWriter.Drain(FCoords);
  FSegmentStarts.push_back(FCoords.Size());
}

void TKmlStreamer::TrackPoint(gps::TTrkPt& point) {
  if (!FOptions.Tracks) return;
  if (FOptions.TimeStamps) FSpan.Add(point.Time);
  AppendCoord(FCoordWriter, point);
  if (FCoordWriter.Pending() >= DrainSize) FCoordWriter.Drain(FCoords);
}

void TKmlStreamer::SegmentEnd(bool) {}

void TKmlStreamer::TrackEnd(std::string& name, bool) {
  if (!FOptions.Tracks) return;
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(TrackKind);
  OpenItemFolder(*to.Writer, name);
  if (FOptions.TimeStamps) FSpan.WriteTo(*to.Writer);
  // The form counts segment entries, not points: an empty segment still splits a track.
  const std::size_t segments = FSegmentStarts.size();
  if (segments > 1 && !FOptions.JoinSegments) {
    std::string segmentName;
    for (std::size_t i = 0; i < segments; ++i) {
      segmentName = "Segment";
      segmentName.append(std::to_string(i + 1));
      BeginLinePlacemark(*to.Writer, segmentName, "#TrackLineStyle");
      const std::uint64_t end = i + 1 < segments ? FSegmentStarts[i + 1] : FCoords.Size();
      FCoords.CopyTo(*to.Writer, *to.Sink, FSegmentStarts[i], end);
      EndLinePlacemark(*to.Writer);
    }
  } else {
    BeginLinePlacemark(*to.Writer, name, "#TrackLineStyle");
    FCoords.CopyTo(*to.Writer, *to.Sink, 0, FCoords.Size());
    EndLinePlacemark(*to.Writer);
  }
  to.Writer->Close();
  if (to.Writer->Pending() >= DrainSize) to.Writer->Drain(*to.Sink);
  FCoords.Clear();
}

void TKmlStreamer::WriteHeld(TKind kind, std::string_view listName) {
  const int index = kind == RouteKind ? 0 : 1;
  FLaterWriters[index].Drain(FLater[index]);
  if (FLater[index].Empty()) return;
  OpenListFolder(FWriter, listName);
  FLater[index].CopyTo(FWriter, FSink, 0, FLater[index].Size());
  FWriter.Close();
}

void TKmlStreamer::Finish() {
  if (FOpenKind != NoKind) FWriter.Close();
  if (FOrder == TKindOrder::Later) {
    WriteHeld(RouteKind, "Routes");
    WriteHeld(TrackKind, "Tracks");
  }
  FWriter.Close();
  FWriter.Close();
  FWriter.Drain(FSink);
}

}  // namespace tarvola::kml
