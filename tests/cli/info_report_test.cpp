#include "cli/info_report.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::cli {
namespace {

TEST(SummarizeGpxFile, AnEmptyFileCountsNothing) {
  TGpsSummary summary;
  ASSERT_EQ(SummarizeGpxFile(test::SourceDir() / "tests/kml/data/empty.gpx", summary).Code, gps::TLoadResult::Loaded);
  EXPECT_EQ(summary.Waypoints + summary.Routes + summary.Tracks + summary.TrackPoints, 0u);
  EXPECT_EQ(summary.EarliestTime, "");
}

TEST(InfoReport, NamesTheFileAndEachCount) {
  TGpsSummary summary;
  summary.Waypoints = 1;
  summary.Routes = 2;
  summary.RoutePoints = 3;
  summary.Tracks = 4;
  summary.Segments = 5;
  summary.TrackPoints = 6;
  summary.EarliestTime = "2024-01-01T00:00:00Z";
  summary.LatestTime = "2024-01-02T00:00:00Z";
  EXPECT_EQ(InfoReport("trip.gpx", summary),
            "trip.gpx: loaded\n"
            "  waypoints: 1\n"
            "  routes: 2\n"
            "  route points: 3\n"
            "  tracks: 4\n"
            "  segments: 5\n"
            "  track points: 6\n"
            "  earliest time: 2024-01-01T00:00:00Z\n"
            "  latest time: 2024-01-02T00:00:00Z\n");
}

TEST(InfoReport, SaysNoneWithoutTimes) {
  const std::string report = InfoReport("t.gpx", TGpsSummary{});
  EXPECT_NE(report.find("  earliest time: none\n  latest time: none\n"), std::string::npos);
}

}  // namespace
}  // namespace tarvola::cli
