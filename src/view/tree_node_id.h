#pragma once

#include <cstdint>

namespace tarvola::view {

enum class TNodeKind : std::uint8_t {
  Root = 1,
  Group,             // Owner: TGroup
  Waypoint,          // Item: waypoint
  WaypointDetail,    // Item: waypoint, Detail 0..5
  Route,             // Owner: route
  RoutePoint,        // Owner: route, Item: point
  RoutePointDetail,  // Owner: route, Item: point, Detail 0..5
  Track,             // Owner: track row (tracks with a segment list only)
  Segment,           // Owner: segment row (over all shown tracks)
  TrackPoint,        // Owner: segment row, Item: point
  TrackPointDetail,  // Owner: segment row, Item: point, Detail 0..3
};

// A tree node packed into the 64 bits of a model index's internal id, so that nodes cost
// no memory of their own: kind (4 bits), detail line (3), the owner's index (27) and the item's (30).
//
// The packed value is scrambled by an invertible mix: Qt hashes model indexes by row plus id
// alone, so raw ids of the points of forty segments of one track would share their low bits
// and pile up in one bucket of the view's expanded set (twelve seconds instead of a tenth to
// open 100,000 points).
struct TNodeId {
  TNodeKind Kind = TNodeKind::Root;
  std::uint8_t Detail = 0;
  std::uint32_t Owner = 0;  // the group, route, track row or segment row the node belongs to
  std::uint32_t Item = 0;   // the waypoint or point

  static constexpr std::uint32_t MaxOwner = (1u << 27) - 1;
  static constexpr std::uint32_t MaxItem = (1u << 30) - 1;

  constexpr std::uint64_t Pack() const {
    return Mix((std::uint64_t(Kind) << 60) | (std::uint64_t(Detail & 7u) << 57) |
               (std::uint64_t(Owner & MaxOwner) << 30) | std::uint64_t(Item & MaxItem));
  }
  static constexpr TNodeId Unpack(std::uint64_t packed) {
    const std::uint64_t v = Unmix(packed);
    return {TNodeKind(v >> 60), std::uint8_t((v >> 57) & 7u), std::uint32_t((v >> 30) & MaxOwner),
            std::uint32_t(v & MaxItem)};
  }
  friend constexpr bool operator==(const TNodeId&, const TNodeId&) = default;

private:
  static constexpr std::uint64_t C1 = 0xbf58476d1ce4e5b9ull;
  static constexpr std::uint64_t C2 = 0x94d049bb133111ebull;

  static constexpr std::uint64_t Inverse(std::uint64_t odd) {
    std::uint64_t inverse = odd;  // Newton's iteration, exact modulo 2^64 after five steps
    for (int i = 0; i < 5; ++i) inverse *= 2 - odd * inverse;
    return inverse;
  }
  static constexpr std::uint64_t UnshiftXor(std::uint64_t y, int shift) {
    std::uint64_t x = y;
    for (int done = shift; done < 64; done += shift) x = y ^ (x >> shift);
    return x;
  }
  static constexpr std::uint64_t Mix(std::uint64_t x) {
    x = (x ^ (x >> 30)) * C1;
    x = (x ^ (x >> 27)) * C2;
    return x ^ (x >> 31);
  }
  static constexpr std::uint64_t Unmix(std::uint64_t x) {
    x = UnshiftXor(x, 31) * Inverse(C2);
    x = UnshiftXor(x, 27) * Inverse(C1);
    return UnshiftXor(x, 30);
  }
};

static_assert(TNodeId::Unpack(TNodeId{TNodeKind::TrackPointDetail, 3, TNodeId::MaxOwner, TNodeId::MaxItem}.Pack()) ==
              TNodeId{TNodeKind::TrackPointDetail, 3, TNodeId::MaxOwner, TNodeId::MaxItem});

}  // namespace tarvola::view
