#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "document_streamer.h"
#include "held_text.h"
#include "kml_builder.h"
#include "kml_text.h"
#include "kml_writer.h"

namespace tarvola::kml {

// Writes the KML document into a sink as the GPS data comes, from the reader's events or from
// records. A route or track is held (THeldText) until it ends, as its folder starts with its
// time span and its segment count decides its lines. A point whose lat or lon is not a number
// in range stays out of the lines (FitsALine), and is counted; a waypoint or route point still
// gets its placemark, with its coordinates as written.
//
// With TKindOrder::AnyOrder the document is written as the kinds come, and a copy of what was
// written is kept (THeldText): when a waypoint comes after a route or track, or a route after a
// track, the sink is restarted with the head and the waypoints so far, and the folders of
// routes and tracks are held to the end from then on, so the document is the same as for
// records. Files in the usual order (nearly all) are written as they are read.
//
// Held text beyond memory goes to `heldFolder` (the system's temporary folder when empty). The
// sink's errors pass to the caller, as do THeldText's.
class TKmlStreamer : public TDocumentStreamer {
public:
  TKmlStreamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink, TKindOrder order,
               const std::filesystem::path& heldFolder = {});

  void RouteBegin() override;
  void TrackBegin() override;
  void SegmentBegin() override;

  void AddWaypoint(const gps::TPointFields& point) override;
  void AddRoutePoint(const gps::TPointFields& point) override;
  void EndRoute(std::string_view name, std::string_view color) override;
  void AddTrackPoint(const gps::TTrkPt& point) override;
  void EndTrack(std::string_view name, std::string_view color) override;
  void Finish() override;
  std::uint64_t LeftOut() const override { return FLeftOut; }

private:
  enum TKind { NoKind, WaypointKind, RouteKind, TrackKind };

  // Where the folder of a kind goes: the document itself, or held for the end.
  struct TDestination {
    TKmlWriter* Writer;
    TKmlSink* Sink;
  };

  // The sink, and while the document may still start over, the copy of what went into it.
  class TJournaledSink : public TKmlSink {
  public:
    TJournaledSink(TKmlSink& sink, THeldText& journal) : FSink(sink), FJournal(journal) {}
    void Write(std::string& text) override;
    void Restart() override { FSink.Restart(); }
    bool Journaling = false;

  private:
    TKmlSink& FSink;
    THeldText& FJournal;
  };

  // The bytes of the document a kind's entries take, while they are journaled.
  struct TRange {
    std::uint64_t Begin = 0, End = 0;
  };

  void Enter(TKind kind);
  void CloseOpenFolder();
  std::uint64_t Written() const;
  void StartOver();
  TDestination DestinationOf(TKind kind);
  void WriteHeld(TKind kind, std::string_view listName);

  TExportOptions FOptions;
  std::string FCreated;
  TKindOrder FOrder;
  bool FHolding = false;  // AnyOrder: a kind came back; routes and tracks wait for the end
  THeldText FJournal;
  TJournaledSink FSink;
  std::string FText;
  TKmlWriter FWriter;
  TKind FOpenKind = NoKind;
  TRange FEntries[4];  // by kind: the waypoints' placemarks, the routes' and the tracks' folders
  // Once holding: the route and track folders' contents, written at the end.
  std::string FLaterText[2];
  TKmlWriter FLaterWriters[2];
  THeldText FLater[2];
  // The route or track being read: its placemarks and coordinates, ahead of their folder.
  std::string FPlacemarkText, FCoordText;
  TKmlWriter FPlacemarkWriter, FCoordWriter;
  THeldText FPlacemarks, FCoords;
  std::vector<std::uint64_t> FSegmentStarts;
  TTimeSpan FSpan;
  std::uint64_t FLeftOut = 0;
};

}  // namespace tarvola::kml
