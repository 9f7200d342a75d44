#include "view/tree_node_id.h"

#include <gtest/gtest.h>

#include <ostream>
#include <unordered_set>
#include "test_support.h"

namespace tarvola::view {
namespace {

struct TIdCase {
  const char* Name;
  TNodeId Id;
};

inline void PrintTo(const TIdCase& row, std::ostream* os) { *os << row.Name; }

class NodeIdRoundTrip : public ::testing::TestWithParam<TIdCase> {};

TEST_P(NodeIdRoundTrip, UnpackGivesBackWhatWasPacked) {
  EXPECT_EQ(TNodeId::Unpack(GetParam().Id.Pack()), GetParam().Id);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, NodeIdRoundTrip,
    ::testing::Values(TIdCase{"Root", {TNodeKind::Root, 0, 0, 0}}, TIdCase{"Group", {TNodeKind::Group, 0, 2, 0}},
                      TIdCase{"LastWaypointDetail", {TNodeKind::WaypointDetail, 5, 0, TNodeId::MaxItem}},
                      TIdCase{"RoutePoint", {TNodeKind::RoutePoint, 0, 12345, 678901}},
                      TIdCase{"Largest", {TNodeKind::TrackPointDetail, 7, TNodeId::MaxOwner, TNodeId::MaxItem}},
                      TIdCase{"Segment", {TNodeKind::Segment, 0, 39, 0}}),
    test::TRowName());

// Qt hashes an index by row and id: points of many segments must not share their low bits.
TEST(NodeId, PointsOfManySegmentsSpreadOverTheLowBits) {
  std::unordered_set<std::uint64_t> lowBits;
  const int segments = 40, points = 2500;
  for (std::uint32_t g = 0; g < segments; ++g) {
    for (std::uint32_t p = 0; p < points; ++p) {
      const std::uint64_t id = TNodeId{TNodeKind::TrackPoint, 0, g, p}.Pack();
      lowBits.insert(((std::uint64_t(p) << 4) + id) & 0xFFFFF);
    }
  }
  EXPECT_GT(lowBits.size(), std::size_t(segments * points) * 9 / 10);
}

}  // namespace
}  // namespace tarvola::view
