#include "kml/kml_builder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "gps/gpx_reader.h"
#include "gps/user_format.h"
#include "kml/gpx_to_kml.h"
#include "kml/held_text.h"
#include "kml/kml_streamer.h"
#include "test_support.h"

namespace tarvola::kml {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view FixedCreated = "2024-06-01 12:00:00";

fs::path DataDir() { return test::SourceDir() / "tests/kml/data"; }

gps::TGpsData LoadData(std::string_view name) {
  gps::TGpsData data;
  const gps::TLoadResult result = gps::LoadGpxFile(DataDir() / name, data).Code;
  EXPECT_EQ(result, gps::TLoadResult::Loaded) << name;
  return data;
}

TExportOptions Options(bool waypoints, bool routes, bool tracks, bool join, bool times) {
  TExportOptions options;
  options.Waypoints = waypoints;
  options.Routes = routes;
  options.Tracks = tracks;
  options.JoinSegments = join;
  options.TimeStamps = times;
  return options;
}

struct TGoldenCase {
  std::string Name;
  std::string Input;
  TExportOptions Options;
  std::string Golden;
};

void PrintTo(const TGoldenCase& row, std::ostream* out) { *out << row.Name; }

class GoldenDocument : public testing::TestWithParam<TGoldenCase> {};

TEST_P(GoldenDocument, MatchesTheWholeDocument) {
  const TGoldenCase& row = GetParam();
  const std::string built = BuildKml(LoadData(row.Input), row.Options, FixedCreated);
  const std::string golden = test::ReadFile(DataDir() / "golden" / row.Golden);
  EXPECT_EQ(built, golden);
  // Written as the file is read, the same document.
  std::string streamed;
  ConvertGpxBytes(test::ReadFile(DataDir() / row.Input), row.Options, TKmlFileType::Kml, FixedCreated, streamed);
  EXPECT_EQ(streamed, golden);
}

INSTANTIATE_TEST_SUITE_P(
    FolderForms, GoldenDocument,
    testing::Values(
        TGoldenCase{"Defaults", "sample.gpx", Options(true, true, true, false, false), "default.kml"},
        TGoldenCase{"TimeStamps", "sample.gpx", Options(true, true, true, false, true), "time-stamps.kml"},
        TGoldenCase{"JoinSegments", "sample.gpx", Options(true, true, true, true, false), "join-segments.kml"},
        TGoldenCase{"JoinAndTime", "sample.gpx", Options(true, true, true, true, true), "join-and-time.kml"},
        TGoldenCase{"WaypointsOnlyWithTimes", "sample.gpx", Options(true, false, false, false, true), "waypoints-only.kml"},
        TGoldenCase{"RoutesAndTracks", "sample.gpx", Options(false, true, true, false, false), "routes-and-tracks.kml"},
        TGoldenCase{"NothingTicked", "sample.gpx", Options(false, false, false, true, true), "head-only.kml"},
        TGoldenCase{"EmptyListsTicked", "empty.gpx", Options(true, true, true, false, true), "head-only.kml"}),
    test::TRowName());

TEST(BuildKml, AbsentListsGiveTheHeadOnly) {
  const gps::TGpsData nothing;
  EXPECT_EQ(BuildKml(nothing, TExportOptions{}, FixedCreated),
            test::ReadFile(DataDir() / "golden" / "head-only.kml"));
}

TEST(BuildKml, CreatedNowTextIsTheUsersDateAndLongTime) {
  const std::string before = gps::UserDateTimeText(gps::NowLocalDateTime(), true);
  const std::string created = CreatedNowText();
  const std::string after = gps::UserDateTimeText(gps::NowLocalDateTime(), true);
  EXPECT_TRUE(created == before || created == after) << created;
  EXPECT_FALSE(created.empty());
}

TEST(BuildKml, SplitSegmentsKeepTheirOwnPoints) {
  gps::TGpsData data;
  data.Tracks.emplace();
  gps::TTrk& track = data.Tracks->emplace_back();
  track.Name = "T";
  track.Segments.emplace();
  for (int s = 0; s < 3; ++s) {
    gps::TTrkSeg& segment = track.Segments->emplace_back();
    segment.Points.emplace();
    gps::TTrkPt point;
    point.Lat = std::to_string(s);
    point.Lon = "9";
    segment.Points->push_back(point);
  }
  const std::string split = BuildKml(data, TExportOptions{}, FixedCreated);
  EXPECT_NE(split.find("<name>Segment3</name>"), std::string::npos);
  EXPECT_NE(split.find("<coordinates>9,2,0 </coordinates>"), std::string::npos);

  TExportOptions joined;
  joined.JoinSegments = true;
  const std::string one = BuildKml(data, joined, FixedCreated);
  EXPECT_EQ(one.find("Segment"), std::string::npos);
  EXPECT_NE(one.find("<coordinates>9,0,0 9,1,0 9,2,0 </coordinates>"), std::string::npos);
}

// Lines whose text is just under, at, just over and three times the size at which a writer
// drains and held text spills to its file, in a row (the longest first, so a reused file holds
// more than the next text): the window's records and the reader's events give the same bytes,
// and every line holds exactly its own points.
TEST(BuildKml, LinesAroundTheHeldAndDrainSizesKeepTheirPoints) {
  static_assert(DrainSize == HeldMemoryLimit);
  const std::size_t sizes[] = {3 * DrainSize + 1, DrainSize - 1, DrainSize + 1, DrainSize};
  gps::TGpsData data;
  data.Tracks.emplace();
  std::vector<std::string> lines;
  std::string gpx = "<gpx>";
  for (std::size_t size : sizes) {
    // Triples of 18 bytes ("8.12345,47.1234,1 "); the first longitude takes up the rest.
    std::vector<gps::TTrkPt> points(size / 18, gps::TTrkPt{"47.1234", "8.12345", "1", {}});
    points[0].Lon.append(size % 18, '0');
    std::string line;
    gpx += "<trk><name>T</name><trkseg>";
    for (const gps::TTrkPt& point : points) {
      line += point.Lon + "," + point.Lat + "," + point.Alt + " ";
      gpx += "<trkpt lat=\"" + point.Lat + "\" lon=\"" + point.Lon + "\"><ele>1</ele></trkpt>";
    }
    gpx += "</trkseg></trk>";
    ASSERT_EQ(line.size(), size);
    lines.push_back(std::move(line));
    gps::TTrk& track = data.Tracks->emplace_back();
    track.Name = "T";
    track.Segments.emplace(1);
    track.Segments->front().Points = std::move(points);
  }
  const std::string built = BuildKml(data, TExportOptions{}, FixedCreated);
  std::string streamed;
  ConvertGpxBytes(gpx + "</gpx>", TExportOptions{}, TKmlFileType::Kml, FixedCreated, streamed);
  EXPECT_TRUE(streamed == built) << "the reader's document differs from the records' one";
  std::size_t at = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    at = built.find("<coordinates>", at);
    ASSERT_NE(at, std::string::npos) << i;
    at += 13;
    EXPECT_TRUE(built.compare(at, lines[i].size() + 14, lines[i] + "</coordinates>") == 0) << "line " << i;
  }
}

TEST(BuildKml, MultiLineTextsKeepTheirElementOnOneLine) {
  gps::TGpsData data;
  data.Waypoints.emplace();
  gps::TWpt& waypoint = data.Waypoints->emplace_back();
  waypoint.Name = "Hut";
  waypoint.Desc = "first line\nsecond line\r\nthird";
  const std::string built = BuildKml(data, TExportOptions{}, FixedCreated);
  EXPECT_NE(built.find("\n        <description>first line&#10;second line&#13;&#10;third</description>\n"),
            std::string::npos);
}

}  // namespace
}  // namespace tarvola::kml
