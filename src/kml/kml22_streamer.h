#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "document_streamer.h"
#include "held_text.h"
#include "kml22_parts.h"
#include "kml22_records.h"
#include "track_statistics.h"

namespace tarvola::kml {

// Writes the KML 2.2 document of the Earth and Web profiles. Its head frames all the data and
// declares the styles and sensor fields the data uses, so the folders are held (THeldText, in
// memory up to a limit, the rest in files) until the end, and then follow the head: memory
// stays a few megabytes for a file of any size, and kinds may come in any order.
//
// A track is one placemark with its statistics; in Earth its segments are gx:Tracks in a
// gx:MultiTrack, each with its sensor readings, and a segment in which a point has no time is a
// LineString (in a MultiGeometry then). In Web every line is a LineString.
class TKml22Streamer : public TDocumentStreamer {
public:
  TKml22Streamer(const TExportOptions& options, std::string_view createdText, TKmlSink& sink,
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
  enum TKind { Waypoints, Routes, Tracks };

  // The placemarks of one kind, ahead of their folder.
  struct TBody {
    explicit TBody(const std::filesystem::path& heldFolder);
    std::string Text;
    TKmlWriter Writer;
    THeldText Held;
  };

  void WritePoint(TKmlWriter& writer, const gps::TPointFields& point, std::string_view styleUrl);
  // The line's own colour, else the palette's next; its style goes into the head.
  std::string StyleFor(std::string_view color, std::size_t& paletteNext);
  void EndSegment();
  void WriteLine(TKmlWriter& writer, TKmlSink& sink);
  void BeginLinePlacemark(TKmlWriter& writer, std::string_view name, std::string_view color,
                          std::size_t& paletteNext);
  void WriteBody(TKmlWriter& writer, TKind kind, std::string_view folderName);

  TExportOptions FOptions;
  std::string FCreated;
  TKmlSink& FSink;
  TDocumentFacts FFacts;
  TBody FBodies[3];
  // The route or track being read.
  TPointRecords FPoints;
  TStatisticsCounter FStatistics;
  TInstantSpan FSpan;
  std::string FPlacemarkText, FGeometryText;
  TKmlWriter FPlacemarkWriter, FGeometryWriter;  // the route's point placemarks; the track's lines
  THeldText FPlacemarks, FGeometry;
  std::uint64_t FSegments = 0, FLineStrings = 0;  // written to FGeometry
  std::size_t FNextRouteColor = 0, FNextTrackColor = 0;
  std::uint64_t FLeftOut = 0;
};

}  // namespace tarvola::kml
