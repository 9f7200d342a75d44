#include "kml/document_streamer.h"

#include "kml/kml22_streamer.h"
#include "kml/kml_streamer.h"

namespace tarvola::kml {

std::unique_ptr<TDocumentStreamer> MakeDocumentStreamer(const TExportOptions& options,
                                                        std::string_view createdText, TKmlSink& sink,
                                                        TKindOrder order,
                                                        const std::filesystem::path& heldFolder) {
  if (options.Output.Profile == TProfile::Classic)
    return std::make_unique<TKmlStreamer>(options, createdText, sink, order, heldFolder);
  return std::make_unique<TKml22Streamer>(options, createdText, sink, heldFolder);
}

namespace {

// Counts the points handed over and asks the watch every few thousand of them.
class TPointCount {
public:
  explicit TPointCount(const io::TProgressWatch& watch) : FWatch(watch) {}
  bool Next() { return ++FDone % AskEvery != 0 || !FWatch || FWatch(FDone); }

private:
  static constexpr std::uint64_t AskEvery = 4096;
  const io::TProgressWatch& FWatch;
  std::uint64_t FDone = 0;
};

}  // namespace

bool StreamGpsData(const gps::TGpsData& data, TDocumentStreamer& streamer, const io::TProgressWatch& watch) {
  TPointCount count(watch);
  if (data.Waypoints) {
    for (const gps::TWpt& point : *data.Waypoints) {
      streamer.AddWaypoint(point);
      if (!count.Next()) return false;
    }
  }
  if (data.Routes) {
    for (const gps::TRte& route : *data.Routes) {
      streamer.RouteBegin();
      if (route.Points) {
        for (const gps::TRtePt& point : *route.Points) {
          streamer.AddRoutePoint(point);
          if (!count.Next()) return false;
        }
      }
      streamer.EndRoute(route.Name, route.Color);
    }
  }
  if (data.Tracks) {
    for (const gps::TTrk& track : *data.Tracks) {
      streamer.TrackBegin();
      if (track.Segments) {
        for (const gps::TTrkSeg& segment : *track.Segments) {
          streamer.SegmentBegin();
          if (!segment.Points) continue;
          for (const gps::TTrkPt& point : *segment.Points) {
            streamer.AddTrackPoint(point);
            if (!count.Next()) return false;
          }
        }
      }
      streamer.EndTrack(track.Name, track.Color);
    }
  }
  streamer.Finish();
  return true;
}

}  // namespace tarvola::kml
