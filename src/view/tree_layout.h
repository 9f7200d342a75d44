#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gps/gps_data.h"

namespace tarvola::view {

// The options that shape the tree (time stamps do not).
struct TTreeOptions {
  bool Waypoints = true;
  bool Routes = true;
  bool Tracks = true;
  bool JoinSegments = false;
};

enum class TGroup : std::uint8_t { Waypoints, Routes, Tracks };

struct TTrackRow {
  std::size_t Track = 0;        // index in Tracks
  std::size_t FirstSegRow = 0;  // into TTreeLayout::Segments
  std::size_t SegCount = 0;
  bool Joined = false;          // points directly under the track node
  std::size_t ChildRows = 0;
  std::size_t PointTotal = 0;
};

struct TSegmentRow {
  std::size_t TrackRow = 0;
  std::size_t Segment = 0;   // index in the track's segment list
  std::size_t Row = 0;       // its first row under the track node
  std::size_t Points = 0;
  bool HasList = false;
  // Joined segments show their points directly; only an unlisted one is a node of its own.
  bool IsNode(bool joined) const { return !joined || !HasList; }
  std::size_t Rows(bool joined) const { return IsNode(joined) ? 1 : Points; }
};

// The shape of the tree for one snapshot of the data: what is shown where, and how many nodes
// there are, without a node per point.
struct TTreeLayout {
  std::vector<TGroup> Groups;
  std::vector<TTrackRow> TrackRows;
  std::vector<TSegmentRow> Segments;
  std::uint64_t NodeCount = 0;  // root included

  TTreeLayout() = default;
  TTreeLayout(const gps::TGpsData& data, const TTreeOptions& options);

  int GroupRow(TGroup group) const;
  // The segment row that shows row `row` of a joined track.
  std::size_t SegmentAt(const TTrackRow& track, std::size_t row) const;
};

}  // namespace tarvola::view
