#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "gps/gpx_events.h"
#include "io/progress.h"
#include "kml_builder.h"
#include "kml_writer.h"

namespace tarvola::kml {

// How a writer should hand the document's pieces on: at this size, not line by line.
inline constexpr std::size_t DrainSize = 1u << 20;

inline void DrainFull(TKmlWriter& writer, TKmlSink& sink) {
  if (writer.Pending() >= DrainSize) writer.Drain(sink);
}

enum class TKindOrder {
  InOrder,   // the caller gives waypoints, then routes, then tracks (records held whole)
  AnyOrder,  // as a file comes: a kind may come back after a later one
};

// Writes a KML document into a sink as the GPS data comes, from the reader's events or from
// records that stay the caller's. The sink's errors pass to the caller, as do THeldText's.
class TDocumentStreamer : public gps::TGpxEvents {
public:
  void Waypoint(gps::TWpt& point) final { AddWaypoint(point); }
  void RoutePoint(gps::TRtePt& point) final { AddRoutePoint(point); }
  void RouteEnd(std::string& name, std::string& color, bool) final { EndRoute(name, color); }
  void TrackPoint(gps::TTrkPt& point) final { AddTrackPoint(point); }
  void SegmentEnd(bool) override {}
  void TrackEnd(std::string& name, std::string& color, bool) final { EndTrack(name, color); }

  virtual void AddWaypoint(const gps::TPointFields& point) = 0;
  virtual void AddRoutePoint(const gps::TPointFields& point) = 0;
  virtual void EndRoute(std::string_view name, std::string_view color) = 0;
  virtual void AddTrackPoint(const gps::TTrkPt& point) = 0;
  virtual void EndTrack(std::string_view name, std::string_view color) = 0;

  // Ends the document and hands the rest to the sink.
  virtual void Finish() = 0;

  // Route and track points left out of their lines, their lat or lon not a number in range.
  virtual std::uint64_t LeftOut() const = 0;
};

// The streamer of the document `options` ask for. Held text beyond memory goes to `heldFolder`
// (the system's temporary folder when empty).
std::unique_ptr<TDocumentStreamer> MakeDocumentStreamer(const TExportOptions& options,
                                                        std::string_view createdText, TKmlSink& sink,
                                                        TKindOrder order,
                                                        const std::filesystem::path& heldFolder = {});

// Hands records held whole (the window's) to the streamer in document order, and finishes it.
// `watch` hears the points handed over so far; false from it stops before the finish, and so
// does the result.
bool StreamGpsData(const gps::TGpsData& data, TDocumentStreamer& streamer, const io::TProgressWatch& watch = {});

}  // namespace tarvola::kml
