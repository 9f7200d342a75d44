#include "info_report.h"

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

TGpsSummary SummarizeGpsData(const gps::TGpsData& data) {
  TGpsSummary summary;
  kml::TTimeSpan span;
  if (data.Waypoints) {
    summary.Waypoints = data.Waypoints->size();
    for (const gps::TWpt& waypoint : *data.Waypoints) span.Add(waypoint.Time);
  }
  if (data.Routes) {
    summary.Routes = data.Routes->size();
    for (const gps::TRte& route : *data.Routes) {
      if (!route.Points) continue;
      summary.RoutePoints += route.Points->size();
      for (const gps::TRtePt& point : *route.Points) span.Add(point.Time);
    }
  }
  if (data.Tracks) {
    summary.Tracks = data.Tracks->size();
    for (const gps::TTrk& track : *data.Tracks) {
      if (!track.Segments) continue;
      summary.Segments += track.Segments->size();
      for (const gps::TTrkSeg& segment : *track.Segments) {
        if (!segment.Points) continue;
        summary.TrackPoints += segment.Points->size();
        for (const gps::TTrkPt& point : *segment.Points) span.Add(point.Time);
      }
    }
  }
  if (!span.Empty()) {
    summary.EarliestTime = kml::TimeText(span.Begin());
    summary.LatestTime = kml::TimeText(span.End());
  }
  return summary;
}

std::string LoadFailureText(gps::TLoadResult result) {
  switch (result) {
    case gps::TLoadResult::Loaded: return {};
    case gps::TLoadResult::CannotOpen: return "Cannot open file";
    case gps::TLoadResult::EncodingNotSupported: return "Text encoding not supported";
    case gps::TLoadResult::NotGpx: return "Error loading GPX file.";
    case gps::TLoadResult::OutOfMemory: return "Not enough memory to load the GPX file.";
  }
  return "Error loading GPX file.";
}

std::string InfoReport(std::string_view fileName, gps::TLoadResult result,
                       const TGpsSummary& summary) {
  std::string out(fileName);
  out.append(": ");
  if (result != gps::TLoadResult::Loaded) {
    out.append(LoadFailureText(result));
    out.push_back('\n');
    return out;
  }
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
