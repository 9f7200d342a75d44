#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "gps/gpx_events.h"
#include "held_text.h"
#include "kml_builder.h"
#include "kml_writer.h"

namespace tarvola::kml {

// Raised when a file's waypoints, routes and tracks are not in that order, so the folders
// written already cannot stay: the caller starts again with THeldOrder::Later.
class EOutOfOrder : public std::runtime_error {
public:
  EOutOfOrder() : std::runtime_error("the kinds of the file are out of order") {}
};

enum class TKindOrder {
  AsRead,  // each folder is written as its kind comes; a kind coming back raises EOutOfOrder
  Later,   // waypoints are written as they come, routes and tracks held until the end
};

// Writes BuildKml's document from the reader's events into a sink as the file is read. A route
// or track is held (THeldText) only until it ends, as its folder starts with its time span and
// its segment count decides its lines.
class TKmlStreamer : public gps::TGpxEvents {
public:
  TKmlStreamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink,
               TKindOrder order);

  void Waypoint(gps::TWpt& point) override;
  void RouteBegin() override;
  void RoutePoint(gps::TRtePt& point) override;
  void RouteEnd(std::string& name, bool hasChildNodes) override;
  void TrackBegin() override;
  void SegmentBegin() override;
  void TrackPoint(gps::TTrkPt& point) override;
  void SegmentEnd(bool hasChildNodes) override;
  void TrackEnd(std::string& name, bool hasChildNodes) override;

  // Ends the document and hands the rest to the sink.
  void Finish();

private:
  enum TKind { NoKind, WaypointKind, RouteKind, TrackKind };

  // The earliest and latest stamp as TTimeSpan finds them, kept by value.
  struct TStampSpan {
    std::optional<gps::TDateTimeZ> Begin, End;
    void Add(const gps::TDateTimeZ& value);
    void WriteTo(TKmlWriter& writer) const;
  };

  // Where the folder of a kind goes: the document itself, or held for the end.
  struct TDestination {
    TKmlWriter* Writer;
    TKmlSink* Sink;
  };

  void Enter(TKind kind);
  TDestination DestinationOf(TKind kind);
  void WriteHeld(TKind kind, std::string_view listName);

  TExportOptions FOptions;
  TKmlSink& FSink;
  TKindOrder FOrder;
  std::string FText;
  TKmlWriter FWriter;
  TKind FOpenKind = NoKind;
  // TKindOrder::Later: the route and track folders' contents, written at the end.
  std::string FLaterText[2];
  TKmlWriter FLaterWriters[2];
  THeldText FLater[2];
  // The route or track being read: its placemarks and coordinates, ahead of their folder.
  std::string FPlacemarkText, FCoordText;
  TKmlWriter FPlacemarkWriter, FCoordWriter;
  THeldText FPlacemarks, FCoords;
  std::vector<std::uint64_t> FSegmentStarts;
  TStampSpan FSpan;
};

}  // namespace tarvola::kml
