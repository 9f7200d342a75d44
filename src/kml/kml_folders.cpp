#include "kml_folders.h"

#include <string>

#include "kml_text.h"

namespace tarvola::kml {

void WritePointPlacemark(TKmlWriter& writer, const gps::TPointFields& point,
                         std::string_view styleUrl, const gps::TDateTimeZ* timeStamp) {
  writer.Open("Placemark");
  writer.Text("name", point.Name);
  if (timeStamp != nullptr && timeStamp->Exists) {
    writer.Open("TimeStamp");
    writer.Text("when", TimeText(*timeStamp));
    writer.Close();
  }
  const std::string description = DescriptionOf(point.Desc, point.Cmt);
  if (!description.empty()) writer.Text("description", description);
  writer.Text("styleUrl", styleUrl);
  writer.Open("Point");
  writer.BeginText("coordinates");
  AppendCoordTriple(writer, point);
  writer.EndText();
  writer.Close();
  writer.Close();
}

void BeginLinePlacemark(TKmlWriter& writer, std::string_view name, std::string_view styleUrl) {
  writer.Open("Placemark");
  writer.Text("name", name);
  writer.Text("styleUrl", styleUrl);
  writer.Open("LineString");
  writer.Text("tessellate", "1");
  writer.BeginText("coordinates");
}

void EndLinePlacemark(TKmlWriter& writer) {
  writer.EndText();
  writer.Close();
  writer.Close();
}

void OpenItemFolder(TKmlWriter& writer, std::string_view name) {
  writer.Open("Folder");
  writer.Text("name", name);
  writer.Text("open", "0");
}

void OpenListFolder(TKmlWriter& writer, std::string_view name) {
  writer.Open("Folder");
  writer.Text("name", name);
  writer.Text("visibility", "1");
  writer.Text("open", "0");
}

void OpenWaypointsFolder(TKmlWriter& writer) {
  writer.Open("Folder");
  writer.Text("name", "Waypoints");
  writer.Text("open", "0");
  writer.Text("visibility", "1");
}

namespace {

template <typename TPoint>
void AppendCoordList(TKmlWriter& writer, const std::vector<TPoint>& points) {
  for (const TPoint& point : points) {
    AppendCoordTriple(writer, point);
    writer.AppendRaw(' ');
  }
}

void WriteRoute(TKmlWriter& writer, const gps::TRte& route, const TExportOptions& options) {
  static const std::vector<gps::TRtePt> NoPoints;
  const std::vector<gps::TRtePt>& points = route.Points ? *route.Points : NoPoints;

  OpenItemFolder(writer, route.Name);
  if (options.TimeStamps) {
    TTimeSpan span;
    for (const gps::TRtePt& point : points) span.Add(point.Time);
    WriteTimeSpan(writer, span);
  }
  for (const gps::TRtePt& point : points) {
    WritePointPlacemark(writer, point, "#msn_icon60", nullptr);
  }
  std::string lineName = "Legs (";
  lineName.append(route.Name);
  lineName.push_back(')');
  BeginLinePlacemark(writer, lineName, "#RouteLineStyle");
  AppendCoordList(writer, points);
  EndLinePlacemark(writer);
  writer.Close();
}

void WriteTrack(TKmlWriter& writer, const gps::TTrk& track, const TExportOptions& options) {
  static const std::vector<gps::TTrkSeg> NoSegments;
  const std::vector<gps::TTrkSeg>& segments = track.Segments ? *track.Segments : NoSegments;

  OpenItemFolder(writer, track.Name);
  if (options.TimeStamps) {
    TTimeSpan span;
    for (const gps::TTrkSeg& segment : segments) {
      if (!segment.Points) continue;
      for (const gps::TTrkPt& point : *segment.Points) span.Add(point.Time);
    }
    WriteTimeSpan(writer, span);
  }
  // The form counts segment entries, not points: an empty segment still splits a track.
  if (segments.size() > 1 && !options.JoinSegments) {
    std::string segmentName;
    for (std::size_t i = 0; i < segments.size(); ++i) {
      segmentName = "Segment";
      segmentName.append(std::to_string(i + 1));
      BeginLinePlacemark(writer, segmentName, "#TrackLineStyle");
      if (segments[i].Points) AppendCoordList(writer, *segments[i].Points);
      EndLinePlacemark(writer);
    }
  } else {
    BeginLinePlacemark(writer, track.Name, "#TrackLineStyle");
    for (const gps::TTrkSeg& segment : segments) {
      if (segment.Points) AppendCoordList(writer, *segment.Points);
    }
    EndLinePlacemark(writer);
  }
  writer.Close();
}

}  // namespace

void WriteWaypointsFolder(TKmlWriter& writer, const std::vector<gps::TWpt>& waypoints,
                          const TExportOptions& options) {
  OpenWaypointsFolder(writer);
  for (const gps::TWpt& waypoint : waypoints) {
    WritePointPlacemark(writer, waypoint, "#msn_ylw-pushpin",
                        options.TimeStamps ? &waypoint.Time : nullptr);
  }
  writer.Close();
}

void WriteRoutesFolder(TKmlWriter& writer, const std::vector<gps::TRte>& routes,
                       const TExportOptions& options) {
  OpenListFolder(writer, "Routes");
  for (const gps::TRte& route : routes) WriteRoute(writer, route, options);
  writer.Close();
}

void WriteTracksFolder(TKmlWriter& writer, const std::vector<gps::TTrk>& tracks,
                       const TExportOptions& options) {
  OpenListFolder(writer, "Tracks");
  for (const gps::TTrk& track : tracks) WriteTrack(writer, track, options);
  writer.Close();
}

}  // namespace tarvola::kml
