// Every GPX file of the sample corpus against the counts its manifest gives.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "gps/gpx_reader.h"
#include "test_support.h"

namespace tarvola::gps {
namespace {

namespace fs = std::filesystem;

struct TCounts {
  std::size_t Waypoints = 0, Routes = 0, RoutePoints = 0, Tracks = 0, Segments = 0, TrackPoints = 0;
  bool operator==(const TCounts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TCounts& c) {
  return out << "wpt " << c.Waypoints << ", rte " << c.Routes << " (" << c.RoutePoints << "), trk "
             << c.Tracks << ", seg " << c.Segments << ", trkpt " << c.TrackPoints;
}

struct TManifestRow {
  std::string Path;  // relative to the corpus folder
  TCounts Counts;
  bool MarkedNotWellFormed = false;
};

std::ostream& operator<<(std::ostream& out, const TManifestRow& row) { return out << row.Path; }

// Files the manifest lists that a sound reader must refuse. The other files it marks as not
// well-formed are recoverable: Latin-1 bytes in a file declared UTF-8 (decoded as Windows-1252),
// an encoding label contradicting the bytes (the label is disregarded), prefixes never declared
// (names are read without namespace validation); their counts come from the manifest's re-read.
const std::map<std::string, std::string> RefusedFiles = {
    {"gpx/routeconverter/SportTracks_BergischesLand.gpx", "truncated in the middle of a trkpt"},
};

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (true) {
    std::size_t bar = line.find('|', start);
    std::string cell =
        line.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    std::size_t first = cell.find_first_not_of(' '), last = cell.find_last_not_of(' ');
    cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    if (bar == std::string::npos) return cells;
    start = bar + 1;
  }
}

std::vector<TManifestRow> ReadManifest() {
  std::vector<TManifestRow> rows;
  auto corpus = test::CorpusDir();
  if (!corpus) return rows;
  std::ifstream in(*corpus / "MANIFEST.md");
  static const std::regex routes(R"((\d+) \((\d+)\))");
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> cells = Cells(line);
    // | # | `gpx/...` | source | licence | size | encoding | GPX | wpt | rte (rtept) | trk | seg |
    // trkpt | ...
    if (cells.size() < 14 || cells[2].size() < 3 || cells[2].rfind("`gpx/", 0) != 0) continue;
    TManifestRow row;
    row.Path = cells[2].substr(1, cells[2].size() - 2);
    std::smatch match;
    if (!std::regex_match(cells[9], match, routes)) continue;
    row.Counts.Waypoints = std::stoul(cells[8]);
    row.Counts.Routes = std::stoul(match[1]);
    row.Counts.RoutePoints = std::stoul(match[2]);
    row.Counts.Tracks = std::stoul(cells[10]);
    row.Counts.Segments = std::stoul(cells[11]);
    row.Counts.TrackPoints = std::stoul(cells[12]);
    row.MarkedNotWellFormed = line.find("NOT WELL-FORMED") != std::string::npos;
    rows.push_back(row);
  }
  return rows;
}

TCounts CountsOf(const TGpsData& data) {
  TCounts counts;
  counts.Waypoints = data.Waypoints->size();
  counts.Routes = data.Routes->size();
  for (const TRte& route : *data.Routes)
    if (route.Points) counts.RoutePoints += route.Points->size();
  counts.Tracks = data.Tracks->size();
  for (const TTrk& track : *data.Tracks) {
    if (!track.Segments) continue;
    counts.Segments += track.Segments->size();
    for (const TTrkSeg& segment : *track.Segments)
      if (segment.Points) counts.TrackPoints += segment.Points->size();
  }
  return counts;
}

class GpxCorpus : public testing::TestWithParam<TManifestRow> {};

TEST_P(GpxCorpus, CountsMatchTheManifest) {
  const TManifestRow& row = GetParam();
  TGpsData data;
  TLoadResult result = LoadGpxFile(
      *test::CorpusDir() / fs::path(std::u8string(row.Path.begin(), row.Path.end())), data).Code;
  auto refused = RefusedFiles.find(row.Path);
  if (refused != RefusedFiles.end()) {
    EXPECT_TRUE(row.MarkedNotWellFormed);
    EXPECT_EQ(result, TLoadResult::NotGpx) << refused->second;
    EXPECT_FALSE(data.Waypoints || data.Routes || data.Tracks);
    return;
  }
  ASSERT_EQ(result, TLoadResult::Loaded);
  EXPECT_EQ(CountsOf(data), row.Counts);
}

std::string RowName(const testing::TestParamInfo<TManifestRow>& info) {
  std::string name = info.param.Path.substr(4);
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Manifest, GpxCorpus, testing::ValuesIn(ReadManifest()), RowName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(GpxCorpus);

TEST(GpxCorpusManifest, ListsEveryFile) {
  auto corpus = test::CorpusDir();
  if (!corpus)
    GTEST_SKIP() << "sample corpus not found (set TARVOLA_CORPUS_DIR); corpus tests skipped";
  std::set<std::string> listed;
  for (const TManifestRow& row : ReadManifest()) listed.insert(row.Path);
  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(*corpus / "gpx")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    std::u8string relative = fs::relative(entry.path(), *corpus).generic_u8string();
    std::string relativeText(relative.begin(), relative.end());
    EXPECT_TRUE(listed.count(relativeText)) << relativeText << " has no row in MANIFEST.md";
  }
  EXPECT_EQ(files, listed.size());
  EXPECT_GT(files, 0u);
}

// Spot checks of the text itself, where the decoding matters.
TEST(GpxCorpusText, LatinBytesBecomeLetters) {
  auto corpus = test::CorpusDir();
  if (!corpus)
    GTEST_SKIP() << "sample corpus not found (set TARVOLA_CORPUS_DIR); corpus tests skipped";
  TGpsData data;
  ASSERT_EQ(LoadGpxFile(*corpus / "gpx/routeconverter/gpx_with_g7towin.gpx", data),
            TLoadResult::Loaded);
  bool found = false;
  for (const TWpt& point : *data.Waypoints)
    found = found || point.Name.find("Barsb\u00FCttel") != std::string::npos;
  EXPECT_TRUE(found) << "no waypoint name with the decoded u-umlaut";
}

}  // namespace
}  // namespace tarvola::gps
