#pragma once

#include <cstdint>

namespace tarvola::view {

enum class TNodeKind : std::uint8_t {
  Root = 1,
  Group,             // A: TGroup
  Waypoint,          // B: waypoint
  WaypointDetail,    // B: waypoint, Detail 0..5
  Route,             // A: route
  RoutePoint,        // A: route, B: point
  RoutePointDetail,  // A: route, B: point, Detail 0..5
  Track,             // A: track row (tracks with a segment list only)
  Segment,           // A: segment row (over all shown tracks)
  TrackPoint,        // A: segment row, B: point
  TrackPointDetail,  // A: segment row, B: point, Detail 0..3
};

// A tree node packed into the 64 bits of a model index's internal id, so that nodes cost
// no memory of their own: kind (4 bits), detail line (3), A (27), B (30).
struct TNodeId {
  TNodeKind Kind = TNodeKind::Root;
  std::uint8_t Detail = 0;
  std::uint32_t A = 0;
  std::uint32_t B = 0;

  static constexpr std::uint32_t MaxA = (1u << 27) - 1;
  static constexpr std::uint32_t MaxB = (1u << 30) - 1;

  constexpr std::uint64_t Pack() const {
    return (std::uint64_t(Kind) << 60) | (std::uint64_t(Detail & 7u) << 57) |
           (std::uint64_t(A & MaxA) << 30) | std::uint64_t(B & MaxB);
  }
  static constexpr TNodeId Unpack(std::uint64_t v) {
    return {TNodeKind(v >> 60), std::uint8_t((v >> 57) & 7u), std::uint32_t((v >> 30) & MaxA),
            std::uint32_t(v & MaxB)};
  }
  friend constexpr bool operator==(const TNodeId&, const TNodeId&) = default;
};

}  // namespace tarvola::view
