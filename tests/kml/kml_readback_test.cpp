// KML documents read back by a reader that is not ours: Python's xml.etree.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "gps/gpx_reader.h"
#include "kml/kml_builder.h"
#include "kml_readback.h"
#include "test_support.h"

namespace tarvola::kml {
namespace {

namespace fs = std::filesystem;

TEST(BuildKml, ReadsBackWithANamespacedRootAndUtf8) {
  TARVOLA_REQUIRE_KML_READBACK();
  test::TTempFolder folder;
  const fs::path file = folder.File("doc.kml");
  gps::TGpsData sample;
  ASSERT_EQ(gps::LoadGpxFile(test::SourceDir() / "tests/kml/data/sample.gpx", sample), gps::TLoadResult::Loaded);
  test::WriteFile(file, BuildKml(sample, TExportOptions{}, "2024-06-01 12:00:00"));
  const test::TKmlReadback back = test::ReadBackKml(file);
  ASSERT_EQ(back.Error, "");
  EXPECT_TRUE(back.Declaration);
  EXPECT_TRUE(back.Layout);
  EXPECT_EQ(back.Root, "{http://earth.google.com/kml/2.1}kml");
  EXPECT_EQ(back.Folders, "Waypoints Routes Tracks");
  ASSERT_FALSE(back.Names.empty());
  EXPECT_EQ(back.Names.front(), "Hut & \"Summit\" <1>");
  EXPECT_EQ(back.Names[3], "Bergsee S\xC3\xBC" "d");
}

// The KML of `data` written to a real file and read back by a strict XML reader.
test::TKmlReadback WrittenAndReadBack(const gps::TGpsData& data, const std::string& now) {
  test::TTempFolder folder;
  const auto file = folder.File("written.kml");
  test::WriteFile(file, BuildKml(data, TExportOptions{}, now));
  return test::ReadBackKml(file);
}

// Every awkward text a GPX file can hand us comes back from a strict XML reader as it was,
// less only the characters XML cannot carry.
TEST(KmlWriter, AwkwardTextsReadBackThroughARealXmlReader) {
  TARVOLA_REQUIRE_KML_READBACK();
  struct TRow {
    std::string Written;
    std::string ReadBack;
  };
  const std::vector<TRow> rows = {
      {"Fish & Chips <Hut>", "Fish & Chips <Hut>"},
      {"]]> and \"quotes\" and 'apostrophes'", "]]> and \"quotes\" and 'apostrophes'"},
      {std::string("bell\x07 null", 10) + std::string(1, '\0') + "!", "bell null!"},
      {"line one\r\nline two\ttab", "line one\r\nline two\ttab"},
      {"\xEF\xBF\xBF" "non" "\xED\xA0\x80" "chars", "nonchars"},
      {"\xD0\x9C\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE \xF0\x9F\x9A\x87", "\xD0\x9C\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE \xF0\x9F\x9A\x87"},
      {"&amp;#160; stays double-escaped", "&amp;#160; stays double-escaped"},
  };
  gps::TGpsData data;
  data.Waypoints.emplace();
  for (const TRow& row : rows) {
    gps::TWpt& waypoint = data.Waypoints->emplace_back();
    waypoint.Name = row.Written;
    waypoint.Desc = row.Written;
    waypoint.Lat = row.Written;
  }
  const test::TKmlReadback back = WrittenAndReadBack(data, "\x01now & then");
  ASSERT_EQ(back.Error, "");
  ASSERT_EQ(back.Names.size(), rows.size());
  ASSERT_EQ(back.Descriptions.size(), rows.size());
  ASSERT_EQ(back.Coordinates.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(back.Names[i], rows[i].ReadBack) << i;
    EXPECT_EQ(back.Descriptions[i], rows[i].ReadBack) << i;
    EXPECT_EQ(back.Coordinates[i], "," + rows[i].ReadBack + ",0") << i;
  }
}

// Whatever bytes a record holds, the document stays well-formed for a strict reader.
TEST(KmlWriter, RandomBytesNeverBreakTheDocument) {
  TARVOLA_REQUIRE_KML_READBACK();
  std::mt19937 random(20240601);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 40);
  gps::TGpsData data;
  data.Waypoints.emplace();
  for (int i = 0; i < 300; ++i) {
    gps::TWpt& waypoint = data.Waypoints->emplace_back();
    for (int n = length(random); n > 0; --n) waypoint.Name.push_back(static_cast<char>(byte(random)));
    waypoint.Lat = waypoint.Name;
  }
  const test::TKmlReadback back = WrittenAndReadBack(data, "now");
  EXPECT_EQ(back.Error, "");
  EXPECT_EQ(back.Placemarks, data.Waypoints->size());
}

}  // namespace
}  // namespace tarvola::kml
