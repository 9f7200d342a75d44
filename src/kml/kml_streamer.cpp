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

void DrainFull(TKmlWriter& writer, TKmlSink& sink) {
  if (writer.Pending() >= DrainSize) writer.Drain(sink);
}

}  // namespace

// FLater's slots: the routes' and the tracks' item folders, and the waypoints' placemarks.
constexpr int WaypointSlot = 2;

TKmlStreamer::TKmlStreamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink,
                           TKindOrder order, const std::filesystem::path& heldFolder)
    : FOptions(options),
      FCreated(createdText),
      FSink(sink),
      FOrder(order),
      FWriter(FText),
      FLaterWriters{TKmlWriter(FLaterText[0], ItemDepth), TKmlWriter(FLaterText[1], ItemDepth),
                    TKmlWriter(FLaterText[2], ItemDepth)},
      FLater{THeldText(HeldMemoryLimit, heldFolder), THeldText(HeldMemoryLimit, heldFolder),
             THeldText(HeldMemoryLimit, heldFolder)},
      FPlacemarkWriter(FPlacemarkText, PlacemarkDepth),
      FCoordWriter(FCoordText, 0),
      FPlacemarks(HeldMemoryLimit, heldFolder),
      FCoords(HeldMemoryLimit, heldFolder) {
  BeginKmlDocument(FWriter, createdText);
}

// Opens the folder of `kind` in the document, closing the one before.
void TKmlStreamer::Enter(TKind kind) {
  if (kind == FOpenKind) return;
  if (FOrder == TKindOrder::AnyOrder && !FHolding && kind < FOpenKind) StartOver();
  if (FHolding && kind != WaypointKind) return;
  if (FHolding && FOpenKind == WaypointKind) return;
  if (FOpenKind != NoKind) FWriter.Close();
  FOpenKind = kind;
  if (kind == WaypointKind)
    OpenWaypointsFolder(FWriter);
  else
    OpenListFolder(FWriter, kind == RouteKind ? "Routes" : "Tracks");
}

// A kind came back after a later one: the document starts over with the head and the
// waypoints so far; the routes and tracks so far are held already, as are those to come.
void TKmlStreamer::StartOver() {
  FHolding = true;
  FSink.Restart();
  FText.clear();
  FWriter.Reset();
  BeginKmlDocument(FWriter, FCreated);
  FOpenKind = NoKind;
  FLaterWriters[WaypointSlot].Drain(FLater[WaypointSlot]);
  if (FLater[WaypointSlot].Empty()) return;
  FOpenKind = WaypointKind;
  OpenWaypointsFolder(FWriter);
  FLater[WaypointSlot].CopyTo(FWriter, FSink, 0, FLater[WaypointSlot].Size());
  FLater[WaypointSlot].Clear();
}

TKmlStreamer::TDestination TKmlStreamer::DestinationOf(TKind kind) {
  if (FOrder == TKindOrder::InOrder) return {&FWriter, &FSink};
  const int index = kind == RouteKind ? 0 : 1;
  return {&FLaterWriters[index], &FLater[index]};
}

// A route's or track's folder is complete in its destination, from `start` on: unless it is
// held for the end, it goes into the document now.
void TKmlStreamer::EndItem(TKind kind, std::uint64_t start) {
  const TDestination to = DestinationOf(kind);
  if (FOrder == TKindOrder::InOrder || FHolding) {
    DrainFull(*to.Writer, *to.Sink);
    return;
  }
  to.Writer->Drain(*to.Sink);
  THeldText& held = FLater[kind == RouteKind ? 0 : 1];
  held.CopyTo(FWriter, FSink, start, held.Size());
  DrainFull(FWriter, FSink);
}

void TKmlStreamer::AddWaypoint(const gps::TPointFields& point) {
  if (!FOptions.Waypoints) return;
  Enter(WaypointKind);
  const gps::TDateTimeZ* stamp = FOptions.TimeStamps ? &point.Time : nullptr;
  WritePointPlacemark(FWriter, point, "#msn_ylw-pushpin", stamp);
  DrainFull(FWriter, FSink);
  if (FOrder == TKindOrder::InOrder || FHolding) return;
  TKmlWriter& journal = FLaterWriters[WaypointSlot];
  WritePointPlacemark(journal, point, "#msn_ylw-pushpin", stamp);
  DrainFull(journal, FLater[WaypointSlot]);
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
  AppendCoord(FCoordWriter, point);
  DrainFull(FPlacemarkWriter, FPlacemarks);
  DrainFull(FCoordWriter, FCoords);
}

void TKmlStreamer::EndRoute(std::string_view name) {
  if (!FOptions.Routes) return;
  FPlacemarkWriter.Drain(FPlacemarks);
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(RouteKind);
  const std::uint64_t start = FLater[0].Size() + FLaterText[0].size();
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
  EndItem(RouteKind, start);
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
  if (FOptions.TimeStamps) FSpan.Add(point.Time);
  AppendCoord(FCoordWriter, point);
  DrainFull(FCoordWriter, FCoords);
}

void TKmlStreamer::EndTrack(std::string_view name) {
  if (!FOptions.Tracks) return;
  FCoordWriter.Drain(FCoords);
  const TDestination to = DestinationOf(TrackKind);
  const std::uint64_t start = FLater[1].Size() + FLaterText[1].size();
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
  EndItem(TrackKind, start);
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
  if (FHolding) {
    WriteHeld(RouteKind, "Routes");
    WriteHeld(TrackKind, "Tracks");
  }
  FWriter.Close();
  FWriter.Close();
  FWriter.Drain(FSink);
}

void StreamGpsData(const gps::TGpsData& data, TKmlStreamer& streamer) {
  if (data.Waypoints) {
    for (const gps::TWpt& point : *data.Waypoints) streamer.AddWaypoint(point);
  }
  if (data.Routes) {
    for (const gps::TRte& route : *data.Routes) {
      streamer.RouteBegin();
      if (route.Points) {
        for (const gps::TRtePt& point : *route.Points) streamer.AddRoutePoint(point);
      }
      streamer.EndRoute(route.Name);
    }
  }
  if (data.Tracks) {
    for (const gps::TTrk& track : *data.Tracks) {
      streamer.TrackBegin();
      if (track.Segments) {
        for (const gps::TTrkSeg& segment : *track.Segments) {
          streamer.SegmentBegin();
          if (!segment.Points) continue;
          for (const gps::TTrkPt& point : *segment.Points) streamer.AddTrackPoint(point);
        }
      }
      streamer.EndTrack(track.Name);
    }
  }
  streamer.Finish();
}

}  // namespace tarvola::kml
