// Every sample file of the corpus through the real converter, in both formats, each output
// read back by Python's XML and ZIP readers and checked against what the input holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/info_report.h"
#include "gps/gpx_reader.h"
#include "kml/kml_builder.h"
#include "kml_readback.h"
#include <cmath>
#include <regex>

#include "process_runner.h"
#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

const std::string Convert = TARVOLA_CONVERT_EXE;

template <typename TPoint>
std::string Triple(const TPoint& point) {
  return point.Lon + "," + point.Lat + "," + point.Alt;
}

// A line takes only points whose lat and lon are plain decimal numbers in range.
bool OnALine(const std::string& lat, const std::string& lon) {
  static const std::regex number(R"(\s*[+-]?(\d+\.?\d*|\.\d+)\s*)");
  return std::regex_match(lat, number) && std::regex_match(lon, number) && std::fabs(std::stod(lat)) <= 90 &&
         std::fabs(std::stod(lon)) <= 180;
}

template <typename TPoint>
std::size_t AppendList(std::string& list, const std::vector<TPoint>& points) {
  std::size_t count = 0;
  for (const TPoint& point : points) {
    if (!OnALine(point.Lat, point.Lon)) continue;
    list += Triple(point) + " ";
    ++count;
  }
  return count;
}

// What the document must hold, worked out from the data on its own terms.
struct TExpected {
  std::size_t Placemarks = 0;
  std::size_t Triples = 0;
  std::vector<std::string> Coordinates;
};

TExpected ExpectedFor(const gps::TGpsData& data, bool joined) {
  TExpected expected;
  for (const gps::TWpt& waypoint : *data.Waypoints) {
    expected.Coordinates.push_back(Triple(waypoint));
    ++expected.Triples;
  }
  for (const gps::TRte& route : *data.Routes) {
    std::string line;
    if (route.Points) {
      for (const gps::TRtePt& point : *route.Points) expected.Coordinates.push_back(Triple(point));
      expected.Triples += route.Points->size() + AppendList(line, *route.Points);
    }
    expected.Coordinates.push_back(line);
  }
  for (const gps::TTrk& track : *data.Tracks) {
    const std::vector<gps::TTrkSeg> none;
    const std::vector<gps::TTrkSeg>& segments = track.Segments ? *track.Segments : none;
    std::string joinedLine;
    for (const gps::TTrkSeg& segment : segments) {
      std::string line;
      if (segment.Points) expected.Triples += AppendList(line, *segment.Points);
      if (segments.size() > 1 && !joined) {
        expected.Coordinates.push_back(line);
      } else {
        joinedLine += line;
      }
    }
    if (segments.size() <= 1 || joined) expected.Coordinates.push_back(joinedLine);
  }
  expected.Placemarks = expected.Coordinates.size();
  return expected;
}

std::vector<fs::path> CorpusFiles(const fs::path& corpus) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(corpus / "gpx")) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct TConverted {
  fs::path Input;
  fs::path Output;
  bool Joined = false;
  TExpected Expected;
};

TEST(CorpusConversion, EveryFileInBothFormatsReadsBackWithItsCounts) {
  const std::optional<fs::path> corpus = test::CorpusDir();
  if (!corpus) GTEST_SKIP() << "the sample corpus (../shared/corpus/gpx) is not here";
  test::TTempFolder folder;
  std::vector<TConverted> converted;
  std::size_t index = 0;
  for (const fs::path& input : CorpusFiles(*corpus)) {
    gps::TGpsData data;
    const gps::TLoadOutcome loaded = gps::LoadGpxFile(input, data);
    for (const bool kmz : {false, true}) {
      const fs::path output = folder.File(std::to_string(index++) + (kmz ? ".kmz" : ".kml"));
      // The KML run joins segments and writes times, the KMZ run keeps the defaults.
      std::vector<std::string> args = {"-o", output.string(), input.string()};
      if (!kmz) args.insert(args.begin(), {"--join-segments", "--time-stamps"});
      const test::TProcessResult run = test::RunProcess(Convert, args);
      if (loaded.Code != gps::TLoadResult::Loaded) {
        EXPECT_EQ(run.ExitCode, 1) << input;
        std::string text = gps::LoadFailureText(loaded.Code);
        if (text.ends_with('.')) text.pop_back();
        EXPECT_EQ(run.Err, "tarvola-convert: " + input.string() + ": " + text + ": " + loaded.Reason + "\n");
        EXPECT_FALSE(fs::exists(output)) << input;
        continue;
      }
      EXPECT_EQ(run.ExitCode, 0) << input << "\n" << run.Err;
      converted.push_back({input, output, !kmz, ExpectedFor(data, !kmz)});
    }
  }
  ASSERT_FALSE(converted.empty());

  std::vector<fs::path> outputs;
  for (const TConverted& item : converted) outputs.push_back(item.Output);
  TARVOLA_REQUIRE_KML_READBACK();
  const std::vector<test::TKmlReadback> back = test::ReadBackKml(outputs);
  ASSERT_EQ(back.size(), converted.size());
  for (std::size_t i = 0; i < converted.size(); ++i) {
    const TConverted& item = converted[i];
    SCOPED_TRACE(item.Input.string() + " -> " + item.Output.filename().string());
    ASSERT_EQ(back[i].Error, "");
    EXPECT_TRUE(back[i].Declaration);
    EXPECT_TRUE(back[i].Layout);
    EXPECT_EQ(back[i].Root, "{http://earth.google.com/kml/2.1}kml");
    if (item.Output.extension() == ".kmz") {
      EXPECT_EQ(back[i].Entries, std::vector<std::string>{"doc.kml"});
      EXPECT_TRUE(back[i].Deflated);
    }
    EXPECT_EQ(back[i].Placemarks, item.Expected.Placemarks);
    EXPECT_EQ(back[i].Triples, item.Expected.Triples);
    EXPECT_EQ(back[i].Coordinates, item.Expected.Coordinates);
  }
}

}  // namespace
}  // namespace tarvola::cli
