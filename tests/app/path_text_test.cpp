#include "app/path_text.h"

#include <gtest/gtest.h>

#include <ostream>

#include "app/workspace.h"
#include "test_support.h"

namespace tarvola::app {
namespace {

TEST(TrimDroppedPath, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimDroppedPath(QStringLiteral(" \t/a b/c.gpx \r\n")), QStringLiteral("/a b/c.gpx"));
  EXPECT_EQ(TrimDroppedPath(QStringLiteral("/x.gpx")), QStringLiteral("/x.gpx"));
  EXPECT_EQ(TrimDroppedPath(QStringLiteral(" \x01 ")), QString());
}

struct TPathCase {
  const char* Name;
  const char* Path;
  const char* FolderWith;
  const char* FolderWithout;
  const char* Stem;
};

inline void PrintTo(const TPathCase& row, std::ostream* os) { *os << row.Name; }

class PathParts : public ::testing::TestWithParam<TPathCase> {};

TEST_P(PathParts, SplitAsTheDialogsNeedThem) {
  const TPathCase& row = GetParam();
  const QString path = QString::fromUtf8(row.Path);
  EXPECT_EQ(FolderOf(path, true), QString::fromUtf8(row.FolderWith));
  EXPECT_EQ(FolderOf(path, false), QString::fromUtf8(row.FolderWithout));
  EXPECT_EQ(NameWithoutExtension(path), QString::fromUtf8(row.Stem));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathParts,
    ::testing::Values(TPathCase{"Plain", "/home/u/trip.gpx", "/home/u/", "/home/u", "trip"},
                      TPathCase{"TwoDots", "/d/trip.v2.gpx", "/d/", "/d", "trip.v2"},
                      TPathCase{"NoExtension", "/d/trip", "/d/", "/d", "trip"},
                      TPathCase{"DotInFolderOnly", "/d.x/trip", "/d.x/", "/d.x", "trip"},
                      TPathCase{"FinalDot", "/d/trip.", "/d/", "/d", "trip"},
                      TPathCase{"InRoot", "/trip.gpx", "/", "/", "trip"},
                      TPathCase{"BareName", "trip.gpx", "", "", "trip"}, TPathCase{"Empty", "", "", "", ""}),
    test::TRowName());

struct TSaveNameCase {
  const char* Name;
  const char* Typed;
  bool AsKml;
  const char* Saved;
};

inline void PrintTo(const TSaveNameCase& row, std::ostream* os) { *os << row.Name; }

class SaveNames : public ::testing::TestWithParam<TSaveNameCase> {};

TEST_P(SaveNames, GetTheChosenTypesExtensionUnlessTheyNameOne) {
  EXPECT_EQ(WithKmlExtension(QString::fromUtf8(GetParam().Typed), GetParam().AsKml), QString::fromUtf8(GetParam().Saved));
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveNames,
    ::testing::Values(TSaveNameCase{"Plain", "/d/trip", false, "/d/trip.kmz"},
                      TSaveNameCase{"DatedName", "/d/Tour 15.07.2023", false, "/d/Tour 15.07.2023.kmz"},
                      TSaveNameCase{"DatedNameAsKml", "/d/Tour 15.07.2023", true, "/d/Tour 15.07.2023.kml"},
                      TSaveNameCase{"KmlTypedWithKmzChosen", "/d/trip.KML", false, "/d/trip.KML"},
                      TSaveNameCase{"KmzTypedWithKmlChosen", "/d/trip.kmz", true, "/d/trip.kmz"},
                      TSaveNameCase{"OtherExtension", "/d/trip.gpx", true, "/d/trip.gpx.kml"},
                      TSaveNameCase{"FinalDot", "/d/trip.", false, "/d/trip.kmz"}),
    test::TRowName());

struct TApplicabilityCase {
  const char* Name;
  int Waypoints, Routes, Tracks;  // -1: the list is absent
  TApplicability Expected;
};

inline void PrintTo(const TApplicabilityCase& row, std::ostream* os) { *os << row.Name; }

class Applicability : public ::testing::TestWithParam<TApplicabilityCase> {};

template <typename T>
std::optional<std::vector<T>> List(int count) {
  if (count < 0) return std::nullopt;
  return std::vector<T>(std::size_t(count));
}

TEST_P(Applicability, OptionsFollowWhatTheDataHolds) {
  const TApplicabilityCase& row = GetParam();
  gps::TGpsData data;
  data.Waypoints = List<gps::TWpt>(row.Waypoints);
  data.Routes = List<gps::TRte>(row.Routes);
  data.Tracks = List<gps::TTrk>(row.Tracks);
  EXPECT_EQ(ApplicabilityOf(data), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Data, Applicability,
    ::testing::Values(TApplicabilityCase{"Absent", -1, -1, -1, {}}, TApplicabilityCase{"AllEmpty", 0, 0, 0, {}},
                      TApplicabilityCase{"WaypointsOnly", 2, 0, 0, {true, false, false, false, true, true}},
                      TApplicabilityCase{"RoutesOnly", 0, 1, -1, {false, true, false, false, true, true}},
                      TApplicabilityCase{"TracksOnly", 0, 0, 1, {false, false, true, true, true, true}},
                      TApplicabilityCase{"All", 1, 1, 1, {true, true, true, true, true, true}}),
    test::TRowName());

}  // namespace
}  // namespace tarvola::app
