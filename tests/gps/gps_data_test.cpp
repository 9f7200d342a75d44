#include "gps/gps_data.h"

#include <gtest/gtest.h>

namespace tarvola::gps {
namespace {

TGpsData SomeData() {
  TGpsData data;
  data.Waypoints.emplace(2);
  TRte route;
  route.Points.emplace(3);
  data.Routes.emplace().push_back(route);
  TTrk track;
  track.Segments.emplace(1);
  (*track.Segments)[0].Points.emplace(4);
  data.Tracks.emplace().push_back(track);
  return data;
}

TEST(GpsData, ClearLeavesEmptyLists) {
  TGpsData data = SomeData();
  ClearGpsData(data);
  ASSERT_TRUE(data.Waypoints && data.Routes && data.Tracks);
  EXPECT_TRUE(data.Waypoints->empty());
  EXPECT_TRUE(data.Routes->empty());
  EXPECT_TRUE(data.Tracks->empty());
}

TEST(GpsData, ClearPassesOverAbsentLists) {
  TGpsData data;
  data.Routes.emplace(1);
  ClearGpsData(data);
  EXPECT_FALSE(data.Waypoints);
  ASSERT_TRUE(data.Routes);
  EXPECT_TRUE(data.Routes->empty());
  EXPECT_FALSE(data.Tracks);
}

TEST(GpsData, FreeMakesListsAbsent) {
  TGpsData data = SomeData();
  FreeGpsData(data);
  EXPECT_FALSE(data.Waypoints);
  EXPECT_FALSE(data.Routes);
  EXPECT_FALSE(data.Tracks);
  FreeGpsData(data);
  EXPECT_FALSE(data.Waypoints);
}

}  // namespace
}  // namespace tarvola::gps
