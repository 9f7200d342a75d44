#include "gps/gpx_reader.h"

#include <new>
#include <system_error>

#include "gps/gpx_parser.h"
#include "gps/text_file.h"
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
  void RouteEnd(std::string& name, bool hasChildNodes) override {
    TRte& route = FData.Routes->back();
    route.Name = std::move(name);
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
  void TrackEnd(std::string& name, bool hasChildNodes) override {
    TTrk& track = FData.Tracks->back();
    track.Name = std::move(name);
    if (!hasChildNodes) track.Segments.reset();
  }

private:
  TGpsData& FData;
};

TLoadResult OpenFailure(int code, const std::error_code& error, std::string& reason) {
  if (code == TextFileEncodingNotSupported) {
    reason = "UTF-32 text in big-endian byte order";
    return TLoadResult::EncodingNotSupported;
  }
  reason = error.message();
  return TLoadResult::CannotOpen;
}

// The records of the file, read again leniently when the strict reading asks for it.
TLoadResult BuildRecords(TTextSource& source, TGpsData& data, std::string& reason) {
  try {
    TRecordBuilder builder(data);
    return ParseGpxText(source, builder, reason);
  } catch (const ERetryLenient& retry) {
    FreeGpsData(data);
    if (!source.Rewind()) {
      reason = source.Error().message();
      return TLoadResult::CannotOpen;
    }
    TRecordBuilder builder(data);
    const TLoadResult result = ParseGpxText(source, builder, reason, true);
    if (result != TLoadResult::Loaded) reason = retry.Reason;
    return result;
  }
}

// A file too large for this machine's memory is a failed load, not a crash.
template <typename TRead>
TLoadResult LoadInto(TGpsData& data, std::string& reason, TRead read) {
  FreeGpsData(data);
  reason.clear();
  try {
    TLoadResult result = read();
    if (result != TLoadResult::Loaded) FreeGpsData(data);
    return result;
  } catch (const std::bad_alloc&) {
    FreeGpsData(data);
    reason = "not enough memory to load the file";
    return TLoadResult::NotGpx;
  }
}

}  // namespace

TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data) {
  std::string reason;
  return LoadGpxFile(fileName, data, reason);
}

TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data,
                        std::string& reason) {
  return LoadInto(data, reason, [&] {
    TTextSource source;
    std::error_code error;
    if (const int code = source.Open(fileName, error); code != TextFileRead)
      return OpenFailure(code, error, reason);
    return BuildRecords(source, data, reason);
  });
}

TLoadResult ParseGpx(std::string_view bytes, TGpsData& data, std::string& reason) {
  return LoadInto(data, reason, [&] {
    TTextSource source;
    if (const int code = source.OpenBytes(bytes); code != TextFileRead)
      return OpenFailure(code, std::error_code(), reason);
    return BuildRecords(source, data, reason);
  });
}

}  // namespace tarvola::gps
