#include "info_report.h"

#include <new>

#include "gps/gpx_parser.h"
#include "gps/text_source.h"
#include "kml/kml_text.h"

namespace tarvola::cli {

namespace {

void AppendLine(std::string& out, std::string_view label, std::string_view value) {
  out.append("  ");
  out.append(label);
  out.append(": ");
  out.append(value);
  out.push_back('\n');
}

}  // namespace

namespace {

// Counts what the reader finds, keeping nothing of it but the earliest and latest time.
class TSummaryEvents : public gps::TGpxEvents {
public:
  explicit TSummaryEvents(TGpsSummary& summary) : FSummary(summary) {}

  void Waypoint(gps::TWpt& point) override {
    ++FSummary.Waypoints;
    FSpan.Add(point.Time);
  }
  void RouteBegin() override { ++FSummary.Routes; }
  void RoutePoint(gps::TRtePt& point) override {
    ++FSummary.RoutePoints;
    FSpan.Add(point.Time);
  }
  void RouteEnd(std::string&, std::string&, bool) override {}
  void TrackBegin() override { ++FSummary.Tracks; }
  void SegmentBegin() override { ++FSummary.Segments; }
  void TrackPoint(gps::TTrkPt& point) override {
    ++FSummary.TrackPoints;
    FSpan.Add(point.Time);
  }
  void SegmentEnd(bool) override {}
  void TrackEnd(std::string&, std::string&, bool) override {}

  void Finish() {
    if (FSpan.Empty()) return;
    FSummary.EarliestTime = kml::TimeText(FSpan.Begin());
    FSummary.LatestTime = kml::TimeText(FSpan.End());
  }

private:
  TGpsSummary& FSummary;
  kml::TTimeSpan FSpan;
};

gps::TLoadOutcome Summarize(gps::TTextSource& source, const gps::TTextOpenResult& opened, TGpsSummary& summary) {
  summary = {};
  if (opened.Code != gps::TTextOpen::Opened) return gps::OpenFailure(opened);
  try {
    TSummaryEvents events(summary);
    gps::TLoadOutcome outcome = gps::ParseGpxText(source, events);
    if (outcome.Code == gps::TLoadResult::Loaded) events.Finish();
    return outcome;
  } catch (const std::bad_alloc&) {
    return gps::MemoryFailure(source);
  }
}

}  // namespace

gps::TLoadOutcome SummarizeGpxFile(const std::filesystem::path& file, TGpsSummary& summary) {
  gps::TTextSource source;
  const gps::TTextOpenResult opened = source.Open(file);
  return Summarize(source, opened, summary);
}

gps::TLoadOutcome SummarizeGpxStream(std::FILE* stream, const std::filesystem::path& name, TGpsSummary& summary) {
  gps::TTextSource source;
  const gps::TTextOpenResult opened = source.OpenStream(stream, name);
  return Summarize(source, opened, summary);
}

std::string InfoReport(std::string_view fileName, const TGpsSummary& summary) {
  std::string out(fileName);
  out.append(": ");
  out.append("loaded\n");
  AppendLine(out, "waypoints", std::to_string(summary.Waypoints));
  AppendLine(out, "routes", std::to_string(summary.Routes));
  AppendLine(out, "route points", std::to_string(summary.RoutePoints));
  AppendLine(out, "tracks", std::to_string(summary.Tracks));
  AppendLine(out, "segments", std::to_string(summary.Segments));
  AppendLine(out, "track points", std::to_string(summary.TrackPoints));
  AppendLine(out, "earliest time", summary.EarliestTime.empty() ? "none" : summary.EarliestTime);
  AppendLine(out, "latest time", summary.LatestTime.empty() ? "none" : summary.LatestTime);
  return out;
}

}  // namespace tarvola::cli
