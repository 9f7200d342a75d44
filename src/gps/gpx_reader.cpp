#include "gps/gpx_reader.h"

#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_source.h"

namespace tarvola::gps {

namespace {

// The records of a whole file, as the window and --info hold them.
class TRecordBuilder : public TGpxEvents {
public:
  explicit TRecordBuilder(TGpsData& data) : FData(data) {
    FData.Waypoints.emplace();
    FData.Routes.emplace();
    FData.Tracks.emplace();
  }

  void Waypoint(TWpt& point) override { FData.Waypoints->push_back(std::move(point)); }
  void RouteBegin() override { FData.Routes->emplace_back().Points.emplace(); }
  void RoutePoint(TRtePt& point) override {
    FData.Routes->back().Points->push_back(std::move(point));
  }
  void RouteEnd(std::string& name, std::string& color, bool hasChildNodes) override {
    TRte& route = FData.Routes->back();
    route.Name = std::move(name);
    route.Color = std::move(color);
    if (!hasChildNodes) route.Points.reset();
  }
  void TrackBegin() override { FData.Tracks->emplace_back().Segments.emplace(); }
  void SegmentBegin() override { FData.Tracks->back().Segments->emplace_back().Points.emplace(); }
  void TrackPoint(TTrkPt& point) override {
    FData.Tracks->back().Segments->back().Points->push_back(std::move(point));
  }
  void SegmentEnd(bool hasChildNodes) override {
    auto& points = FData.Tracks->back().Segments->back().Points;
    if (!hasChildNodes) points.reset();
  }
  void TrackEnd(std::string& name, std::string& color, bool hasChildNodes) override {
    TTrk& track = FData.Tracks->back();
    track.Name = std::move(name);
    track.Color = std::move(color);
    if (!hasChildNodes) track.Segments.reset();
  }

private:
  TGpsData& FData;
};

// Opens the source and reads its records; a file too large for this machine's memory is a
// failed load of its own kind, not a crash.
template <typename TOpen>
TLoadOutcome LoadInto(TGpsData& data, TOpen open, io::TProgressWatch watch = {}) {
  FreeGpsData(data);
  TTextSource source;
  source.Watch(std::move(watch));
  TLoadOutcome outcome;
  try {
    if (const TTextOpenResult opened = open(source); opened.Code != TTextOpen::Opened) {
      outcome = OpenFailure(opened);
    } else {
      TRecordBuilder builder(data);
      outcome = ParseGpxText(source, builder);
    }
  } catch (const std::bad_alloc&) {
    outcome = MemoryFailure(source);
  }
  if (source.Stopped()) outcome = {TLoadResult::Cancelled, source.Name(), {}};
  if (outcome.Code != TLoadResult::Loaded) FreeGpsData(data);
  return outcome;
}

}  // namespace

TLoadOutcome LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data) {
  return LoadInto(data, [&](TTextSource& source) { return source.Open(fileName); });
}

TLoadOutcome LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data, io::TProgressWatch watch) {
  return LoadInto(data, [&](TTextSource& source) { return source.Open(fileName); }, std::move(watch));
}

TLoadOutcome LoadGpxStream(std::FILE* stream, const std::filesystem::path& name, TGpsData& data) {
  return LoadInto(data, [&](TTextSource& source) { return source.OpenStream(stream, name); });
}

TLoadOutcome ParseGpx(std::string_view bytes, TGpsData& data) {
  return LoadInto(data, [&](TTextSource& source) { return source.OpenBytes(bytes); });
}

std::string LoadFailureText(TLoadResult result) {
  switch (result) {
    case TLoadResult::Loaded: return {};
    case TLoadResult::CannotOpen: return "Cannot open file";
    case TLoadResult::EncodingNotSupported: return "Text encoding not supported";
    case TLoadResult::NotGpx: return "Error loading GPX file.";
    case TLoadResult::OutOfMemory: return "Not enough memory to load the GPX file.";
    case TLoadResult::Cancelled: return "Cancelled";
  }
  return "Error loading GPX file.";
}

}  // namespace tarvola::gps
