#include "kml/kml_streamer.h"

#include "kml/kml_folders.h"

namespace tarvola::kml {

namespace {

// Depths inside the document: a list folder's items, and the placemarks inside an item.
constexpr int ItemDepth = 3;
constexpr int PlacemarkDepth = 4;

template <typename TPoint>
void AppendCoord(TKmlWriter& writer, const TPoint& point) {
  AppendCoordTriple(writer, point);
  writer.AppendRaw(' ');
}

}  // namespace

void TKmlStreamer::TJournaledSink::Write(std::string& text) {
  if (Journaling) FJournal.Write(text);
  FSink.Write(text);
}

TKmlStreamer::TKmlStreamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink,
                           TKindOrder order, const std::filesystem::path& heldFolder)
    : FOptions(options),
      FCreated(createdText),
      FOrder(order),
      FJournal(HeldMemoryLimit, heldFolder),
      FSink(sink, FJournal),
      FWriter(FText),
      FLaterWriters{TKmlWriter(FLaterText[0], ItemDepth), TKmlWriter(FLaterText[1], ItemDepth)},
      FLater{THeldText(HeldMemoryLimit, heldFolder), THeldText(HeldMemoryLimit, heldFolder)},
      FPlacemarkWriter(FPlacemarkText, PlacemarkDepth),
      FCoordWriter(FCoordText, 0),
      FPlacemarks(HeldMemoryLimit, heldFolder),
      FCoords(HeldMemoryLimit, heldFolder) {
  FSink.Journaling = order == TKindOrder::AnyOrder;
  BeginKmlDocument(FWriter, createdText);
}

// How much of the document is written: the journal's size while it is kept.
std::uint64_t TKmlStreamer::Written() const { return FJournal.Size() + FText.size(); }

// Opens the folder of `kind` in the document, closing the one before.
void TKmlStreamer::Enter(TKind kind) {
  if (kind == FOpenKind) return;
  if (FOrder == TKindOrder::AnyOrder && !FHolding && kind < FOpenKind) StartOver();
  if (FHolding && (kind != WaypointKind || FOpenKind == WaypointKind)) return;
  CloseOpenFolder();
  FOpenKind = kind;
  if (kind == WaypointKind)
    OpenWaypointsFolder(FWriter);
  else
    OpenListFolder(FWriter, kind == RouteKind ? "Routes" : "Tracks");
  FEntries[kind].Begin = Written();
}

void TKmlStreamer::CloseOpenFolder() {
  if (FOpenKind == NoKind) return;
  FEntries[FOpenKind].End = Written();
  FWriter.Close();
}

// A kind came back after a later one: the routes and tracks so far go from the journal into the
// held folders, and the document starts over with the head and the waypoints so far.
void TKmlStreamer::StartOver() {
  if (FOpenKind != NoKind) FEntries[FOpenKind].End = Written();
  FWriter.Drain(FSink);
  FSink.Journaling = false;
  FHolding = true;
  for (TKind kind : {RouteKind, TrackKind}) {
    const int index = kind == RouteKind ? 0 : 1;
    FJournal.CopyTo(FLaterWriters[index], FLater[index], FEntries[kind].Begin, FEntries[kind].End);
  }
  FSink.Restart();
  FText.clear();
  FWriter.Reset();
  BeginKmlDocument(FWriter, FCreated);
  FOpenKind = NoKind;
  const TRange waypoints = FEntries[WaypointKind];
  if (waypoints.End > waypoints.Begin) {
    FOpenKind = WaypointKind;
    OpenWaypointsFolder(FWriter);
    FJournal.CopyTo(FWriter, FSink, waypoints.Begin, waypoints.End);
  }
  FJournal.Clear();
}

TKmlStreamer::TDestination TKmlStreamer::DestinationOf(TKind kind) {
  if (!FHolding) return {&FWriter, &FSink};
  const int index = kind == RouteKind ? 0 : 1;
  return {&FLaterWriters[index], &FLater[index]};
}

void TKmlStreamer::AddWaypoint(const gps::TPointFields& point) {
  if (!FOptions.Waypoints) return;
  Enter(WaypointKind);
  WritePointPlacemark(FWriter, point, "#msn_ylw-pushpin", FOptions.TimeStamps ? &point.Time : nullptr);
  DrainFull(FWriter, FSink);
}

void TKmlStreamer::RouteBegin() {
  if (!FOptions.Routes) return;
  Enter(RouteKind);
  FPlacemarks.Clear();
  FCoords.Clear();
  FSpan = {};
}

void TKmlStreamer::AddRoutePoint(const gps::TPointFields& point) {
  if (!FOptions.Routes) return;
  if (FOptions.TimeStamps) FSpan.Add(point.Time);
  WritePointPlacemark(FPlacemarkWriter, point, "#msn_icon60", nullptr);
  if (FitsALine(point))
    AppendCoord(FCoordWriter, point);
  else
    ++FLeftOut;
  DrainFull(FPlacemarkWriter, FPlacemarks);
  DrainFull(FCoordWriter, FCoords);
}

void TKmlStreamer::EndRoute(std::string_view name, std::string_view) {
  if (!FOptions.Routes) return;
  FPlacemarkWriter.Drain(FPlacemarks);
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(RouteKind);
  OpenItemFolder(*to.Writer, name);
  if (FOptions.TimeStamps) WriteTimeSpan(*to.Writer, FSpan);
  FPlacemarks.CopyTo(*to.Writer, *to.Sink, 0, FPlacemarks.Size());
  std::string lineName = "Legs (";
  lineName.append(name);
  lineName.push_back(')');
  BeginLinePlacemark(*to.Writer, lineName, "#RouteLineStyle");
  FCoords.CopyTo(*to.Writer, *to.Sink, 0, FCoords.Size());
  EndLinePlacemark(*to.Writer);
  to.Writer->Close();
  DrainFull(*to.Writer, *to.Sink);
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

void TKmlStreamer::AddTrackPoint(const gps::TTrkPt& point) {
  if (!FOptions.Tracks) return;
  if (!FitsALine(point)) {
    ++FLeftOut;
    return;
  }
  if (FOptions.TimeStamps) FSpan.Add(point.Time);
  AppendCoord(FCoordWriter, point);
  DrainFull(FCoordWriter, FCoords);
}

void TKmlStreamer::EndTrack(std::string_view name, std::string_view) {
  if (!FOptions.Tracks) return;
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(TrackKind);
  OpenItemFolder(*to.Writer, name);
  if (FOptions.TimeStamps) WriteTimeSpan(*to.Writer, FSpan);
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
  DrainFull(*to.Writer, *to.Sink);
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
  CloseOpenFolder();
  if (FHolding) {
    WriteHeld(RouteKind, "Routes");
    WriteHeld(TrackKind, "Tracks");
  }
  FWriter.Close();
  FWriter.Close();
  FWriter.Drain(FSink);
}

}  // namespace tarvola::kml
