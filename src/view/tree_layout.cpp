#include "view/tree_layout.h"

#include <algorithm>

namespace tarvola::view {

namespace {

constexpr std::uint64_t WaypointNodes = 7;     // the point and its six details
constexpr std::uint64_t TrackPointNodes = 5;   // the point and its four details

template <typename T>
bool Shown(const std::optional<std::vector<T>>& list, bool checked) {
  return checked && list && !list->empty();
}

}  // namespace

TTreeLayout::TTreeLayout(const gps::TGpsData& data, const TTreeOptions& options) {
  NodeCount = 1;
  if (Shown(data.Waypoints, options.Waypoints)) {
    Groups.push_back(TGroup::Waypoints);
    NodeCount += 1 + WaypointNodes * data.Waypoints->size();
  }
  if (Shown(data.Routes, options.Routes)) {
    Groups.push_back(TGroup::Routes);
    NodeCount += 1;
    for (const gps::TRte& route : *data.Routes) {
      NodeCount += 1 + (route.Points ? WaypointNodes * route.Points->size() : 0);
    }
  }
  if (!Shown(data.Tracks, options.Tracks)) return;
  Groups.push_back(TGroup::Tracks);
  NodeCount += 1;
  const auto& tracks = *data.Tracks;
  for (std::size_t t = 0; t < tracks.size(); ++t) {
    if (!tracks[t].Segments) continue;
    const auto& segments = *tracks[t].Segments;
    TTrackRow track;
    track.Track = t;
    track.FirstSegRow = Segments.size();
    track.SegCount = segments.size();
    track.Joined = segments.size() <= 1 || options.JoinSegments;
    NodeCount += 1;
    for (std::size_t s = 0; s < segments.size(); ++s) {
      TSegmentRow segment;
      segment.TrackRow = TrackRows.size();
      segment.Segment = s;
      segment.Row = track.ChildRows;
      segment.HasList = segments[s].Points.has_value();
      segment.Points = segment.HasList ? segments[s].Points->size() : 0;
      track.ChildRows += segment.Rows(track.Joined);
      track.PointTotal += segment.Points;
      NodeCount += TrackPointNodes * segment.Points + (segment.IsNode(track.Joined) ? 1 : 0);
      Segments.push_back(segment);
    }
    TrackRows.push_back(track);
  }
}

int TTreeLayout::GroupRow(TGroup group) const {
  const auto it = std::find(Groups.begin(), Groups.end(), group);
  return it == Groups.end() ? -1 : int(it - Groups.begin());
}

std::size_t TTreeLayout::SegmentAt(const TTrackRow& track, std::size_t row) const {
  const auto first = Segments.begin() + std::ptrdiff_t(track.FirstSegRow);
  const auto last = first + std::ptrdiff_t(track.SegCount);
  // Segments without rows share their Row with the next one; the last of equals wins.
  const auto it = std::upper_bound(first, last, row,
                                   [](std::size_t r, const TSegmentRow& s) { return r < s.Row; });
  return std::size_t(it - Segments.begin()) - 1;
}

}  // namespace tarvola::view
