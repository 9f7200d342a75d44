// The KML 2.2 profiles, checked as their readers check them: against the OGC and Google schemas
// with xmllint, and read back by a second KML reader (libkml), for the sample corpus and for
// generated files large enough to pass every held-text limit.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "kml/gpx_to_kml.h"
#include "process_runner.h"
#include "test_support.h"

#ifdef TARVOLA_HAVE_LIBKML
#include <kml/dom.h>
#endif

namespace tarvola::kml {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view Created = "2024-06-01 12:00:00";

// An empty text when the document validates against the extension schema (which imports the
// OGC one), else xmllint's complaint; nullopt when xmllint or the schemas are missing.
std::optional<std::string> SchemaErrors(const std::string& document) {
  const std::optional<fs::path> schema = test::KmlSchemaFile();
  if (test::XmllintProgram().empty() || !schema) return std::nullopt;
  test::TTempFolder folder;
  test::WriteFile(folder.File("doc.kml"), document);
  const test::TProcessResult run =
      test::RunProcess(test::XmllintProgram(), {"--noout", "--schema", schema->string(), folder.File("doc.kml").string()});
  return run.ExitCode == 0 ? std::string() : run.Err.substr(0, 600);
}

constexpr std::string_view NoSchemas = "xmllint or the KML schemas (TARVOLA_KML_SCHEMA_DIR, kml22gx.xsd) were not found";

// Checks the document against the schemas where they are; the test's other checks run anyway.
#define TARVOLA_EXPECT_VALID(document)                                      \
  const std::optional<std::string> schemaErrors = SchemaErrors(document); \
  if (schemaErrors) {                                                     \
    EXPECT_EQ(*schemaErrors, "");                                         \
  }

std::string Degrees(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 7).ptr;
  return std::string(buffer, end);
}

std::string Two(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

struct TShape {
  std::string_view Name;
  TProfile Profile;
  int Points;         // per segment
  int Segments;
  int Untimed;        // the segment in which one point has no time; -1 for none
  bool Elevations;
  bool Join;
};

struct TPoint {
  double Lat, Lon;
};

// Routes and tracks come twice, so that held text past its limits is used again.
constexpr int Copies = 2;

// A route has a sixth as many points as a segment, and at least three.
std::size_t RoutePoints(const TShape& shape) { return std::size_t(std::max(3, shape.Points / 6)); }

std::string RoutePoint(const TPoint& point) {
  return "<rtept lat=\"" + Degrees(point.Lat) + "\" lon=\"" + Degrees(point.Lon) + "\"><name>P</name></rtept>\n";
}

// One track of Segments x Points points with heart rate at every point and cadence at every
// other one.
std::string Track(const TShape& shape, std::vector<std::vector<TPoint>>& segments) {
  std::string gpx = "<trk><name>T</name>\n";
  for (int s = 0; s < shape.Segments; ++s) {
    gpx += "<trkseg>\n";
    segments.emplace_back();
    for (int i = 0; i < shape.Points; ++i) {
      const int n = s * shape.Points + i;
      const TPoint point{46.0 + n * 1e-5, 10.0 + n * 2e-5};
      segments.back().push_back(point);
      gpx += "<trkpt lat=\"" + Degrees(point.Lat) + "\" lon=\"" + Degrees(point.Lon) + "\">";
      if (shape.Elevations) gpx += "<ele>" + std::to_string(500 + n % 300) + "</ele>";
      if (s != shape.Untimed || i != 2) {
        gpx += "<time>2024-05-01T" + Two(n / 3600 % 24) + ":" + Two(n / 60 % 60) + ":" + Two(n % 60) + "Z</time>";
      }
      gpx += "<extensions><tp:TrackPointExtension><tp:hr>" + std::to_string(100 + n % 50) + "</tp:hr>";
      if (n % 2 == 0) gpx += "<tp:cad>" + std::to_string(80 + n % 10) + "</tp:cad>";
      gpx += "</tp:TrackPointExtension></extensions></trkpt>\n";
    }
    gpx += "</trkseg>\n";
  }
  return gpx + "</trk>\n";
}

// Two waypoints, and the route and the track twice.
std::string Generate(const TShape& shape, std::vector<TPoint>& route, std::vector<std::vector<TPoint>>& segments) {
  std::string gpx =
      "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
      "xmlns:tp=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\">\n"
      "<wpt lat=\"46.5\" lon=\"10.5\"><name>A</name><time>2024-05-01T08:00:00Z</time></wpt>\n"
      "<wpt lat=\"46.6\" lon=\"10.6\"><name>B</name></wpt>\n";
  for (std::size_t i = 0; i < RoutePoints(shape); ++i) route.push_back({45.0 + double(i) * 1e-5, 10.1});
  for (int copy = 0; copy < Copies; ++copy) {
    gpx += "<rte><name>R</name>\n";
    for (const TPoint& point : route) gpx += RoutePoint(point);
    gpx += "</rte>\n";
  }
  const std::string track = Track(shape, segments);
  for (int copy = 0; copy < Copies; ++copy) gpx += track;
  return gpx + "</gpx>\n";
}

std::string Convert(std::string_view gpx, const TExportOptions& options) {
  std::string document;
  const TConversion done = ConvertGpxBytes(gpx, options, TKmlFileType::Kml, Created, document);
  EXPECT_EQ(done.Loaded.Code, gps::TLoadResult::Loaded) << done.Loaded.Reason;
  return document;
}

#ifdef TARVOLA_HAVE_LIBKML
// What a second reader finds: placemarks, and the lines in document order.
struct TReadBack {
  int Placemarks = 0;
  std::vector<kmldom::GxTrackPtr> Tracks;
  std::vector<kmldom::LineStringPtr> Lines;

  void Walk(const kmldom::ElementPtr& element) {
    if (const kmldom::ContainerPtr container = kmldom::AsContainer(element)) {
      for (std::size_t i = 0; i < container->get_feature_array_size(); ++i) Walk(container->get_feature_array_at(i));
    } else if (const kmldom::PlacemarkPtr placemark = kmldom::AsPlacemark(element)) {
      ++Placemarks;
      Geometry(placemark->get_geometry());
    }
  }
  void Geometry(const kmldom::GeometryPtr& geometry) {
    if (const auto track = kmldom::AsGxTrack(geometry)) Tracks.push_back(track);
    if (const auto line = kmldom::AsLineString(geometry)) Lines.push_back(line);
    if (const auto multi = kmldom::AsGxMultiTrack(geometry)) {
      for (std::size_t i = 0; i < multi->get_gx_track_array_size(); ++i) Geometry(multi->get_gx_track_array_at(i));
    }
    if (const auto multi = kmldom::AsMultiGeometry(geometry)) {
      for (std::size_t i = 0; i < multi->get_geometry_array_size(); ++i) Geometry(multi->get_geometry_array_at(i));
    }
  }
};

// The points of `points` the reader found elsewhere; all of them when the counts differ.
template <typename TCoordAt>
std::size_t Moved(std::size_t count, TCoordAt at, const std::vector<TPoint>& points) {
  if (count != points.size()) return points.size();
  std::size_t moved = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const kmlbase::Vec3 coord = at(i);
    moved += std::abs(coord.get_latitude() - points[i].Lat) + std::abs(coord.get_longitude() - points[i].Lon) > 1e-9;
  }
  return moved;
}

std::size_t MovedOnLine(const kmldom::LineStringPtr& line, const std::vector<TPoint>& points) {
  const kmldom::CoordinatesPtr coordinates = line->get_coordinates();
  return Moved(coordinates->get_coordinates_array_size(),
               [&](std::size_t i) { return coordinates->get_coordinates_array_at(i); }, points);
}

void ExpectTrackHolds(const kmldom::GxTrackPtr& track, const std::vector<TPoint>& points, int first) {
  ASSERT_EQ(track->get_when_array_size(), points.size());
  EXPECT_EQ(Moved(track->get_gx_coord_array_size(), [&](std::size_t i) { return track->get_gx_coord_array_at(i); },
                  points),
            0u);
  ASSERT_TRUE(track->has_extendeddata());
  const kmldom::SchemaDataPtr data = track->get_extendeddata()->get_schemadata_array_at(0);
  ASSERT_EQ(data->get_gx_simplearraydata_array_size(), 2u);
  for (std::size_t a = 0; a < 2; ++a) {
    const kmldom::GxSimpleArrayDataPtr values = data->get_gx_simplearraydata_array_at(a);
    ASSERT_EQ(values->get_gx_value_array_size(), points.size()) << values->get_name();
  }
  const kmldom::GxSimpleArrayDataPtr cadence = data->get_gx_simplearraydata_array_at(1);
  EXPECT_EQ(cadence->get_name(), "cadence");
  const int odd = (first + 1) % 2 == 0 ? 0 : 1;  // the first point without cadence
  EXPECT_EQ(cadence->get_gx_value_array_at(std::size_t(odd)), "");
  EXPECT_EQ(data->get_gx_simplearraydata_array_at(0)->get_gx_value_array_at(0), std::to_string(100 + first % 50));
}
#endif

class Kml22Generated : public testing::TestWithParam<TShape> {};

TEST_P(Kml22Generated, ValidatesAndReadsBackWhatWasGenerated) {
  const TShape& shape = GetParam();
  std::vector<TPoint> route;
  std::vector<std::vector<TPoint>> segments;
  const std::string gpx = Generate(shape, route, segments);
  TExportOptions options;
  options.JoinSegments = shape.Join;
  options.Output.Profile = shape.Profile;
  options.Output.Altitude = TAltitude::Absolute;
  const std::string document = Convert(gpx, options);
  EXPECT_EQ(Convert(gpx, options), document);  // the held text is reused, not appended to
  EXPECT_EQ(document.find("gx:") != std::string::npos, shape.Profile == TProfile::Earth);
  const bool raised = shape.Elevations && document.find("<altitudeMode>absolute</altitudeMode>") != std::string::npos;
  EXPECT_EQ(raised, shape.Elevations);
  TARVOLA_EXPECT_VALID(document);
#ifdef TARVOLA_HAVE_LIBKML
  std::string errors;
  const kmldom::KmlPtr kml = kmldom::AsKml(kmldom::Parse(document, &errors));
  ASSERT_TRUE(kml) << errors;
  TReadBack back;
  back.Walk(kml->get_feature());
  EXPECT_EQ(back.Placemarks, 2 + Copies * (int(route.size()) + 1) + Copies);
  ASSERT_GE(back.Lines.size(), std::size_t(Copies));
  std::size_t track = 0, line = 0;
  for (int copy = 0; copy < Copies; ++copy) EXPECT_EQ(MovedOnLine(back.Lines[line++], route), 0u);
  const bool tracks = shape.Profile == TProfile::Earth;
  std::vector<TPoint> all;
  for (const auto& segment : segments) all.insert(all.end(), segment.begin(), segment.end());
  for (int copy = 0; copy < Copies; ++copy) {
    if (shape.Join && tracks && shape.Untimed < 0) {
      ASSERT_LT(track, back.Tracks.size());
      ExpectTrackHolds(back.Tracks[track++], all, 0);
    } else if (shape.Join) {
      ASSERT_LT(line, back.Lines.size());
      EXPECT_EQ(MovedOnLine(back.Lines[line++], all), 0u);
    }
    for (int s = 0; s < shape.Segments && !shape.Join; ++s) {
      const std::vector<TPoint>& points = segments[std::size_t(s)];
      if (tracks && s != shape.Untimed) {
        ASSERT_LT(track, back.Tracks.size());
        ExpectTrackHolds(back.Tracks[track++], points, s * shape.Points);
      } else {
        ASSERT_LT(line, back.Lines.size());
        EXPECT_EQ(MovedOnLine(back.Lines[line++], points), 0u) << s;
      }
    }
  }
  EXPECT_EQ(track, back.Tracks.size());
  EXPECT_EQ(line, back.Lines.size());
#endif
}

// 40,000 points take a segment's held points (256 KiB), a track's lines, a route's point
// placemarks and the folders (1 MiB each) past memory into files, each twice, and are read back
// in more than one piece.
INSTANTIATE_TEST_SUITE_P(Shapes, Kml22Generated,
                         testing::Values(TShape{"EarthWithAGap", TProfile::Earth, 6, 3, 1, true, false},
                                         TShape{"EarthSpilled", TProfile::Earth, 40000, 2, -1, true, false},
                                         TShape{"EarthJoined", TProfile::Earth, 50, 3, -1, true, true},
                                         TShape{"EarthJoinedWithAGap", TProfile::Earth, 50, 3, 0, true, true},
                                         TShape{"EarthWithoutElevations", TProfile::Earth, 8, 2, -1, false, false},
                                         TShape{"Web", TProfile::Web, 6, 3, 1, true, false},
                                         TShape{"WebSpilled", TProfile::Web, 40000, 2, -1, false, false}),
                         test::TRowName());

TEST(Kml22Corpus, EverySampleFileValidatesInBothProfiles) {
  const std::optional<fs::path> corpus = test::CorpusDir();
  if (!corpus) GTEST_SKIP() << "the sample corpus was not found";
  int checked = 0;
  for (const auto& entry : fs::recursive_directory_iterator(*corpus / "gpx")) {
    if (entry.path().extension() != ".gpx") continue;
    const std::string gpx = test::ReadFile(entry.path());
    for (const TProfile profile : {TProfile::Earth, TProfile::Web}) {
      TExportOptions options;
      options.Output.Profile = profile;
      options.Output.Altitude = TAltitude::Relative;
      std::string document;
      if (ConvertGpxBytes(gpx, options, TKmlFileType::Kml, Created, document).Loaded.Code != gps::TLoadResult::Loaded)
        continue;
      const std::optional<std::string> schemaErrors = SchemaErrors(document);
      if (!schemaErrors) GTEST_SKIP() << NoSchemas;
      EXPECT_EQ(*schemaErrors, "") << entry.path() << " " << ProfileName(profile);
      ++checked;
    }
  }
  EXPECT_GT(checked, 100);
}

// The colour a file gives a track becomes its line style, in KML's alpha-blue-green-red order;
// tracks without one get palette colours that differ from their neighbours'.
TEST(Kml22Colors, FileColoursAndThePalette) {
  const std::string gpx =
      "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" xmlns:x=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">"
      "<trk><name>a</name><extensions><x:TrackExtension><x:DisplayColor>DarkBlue</x:DisplayColor>"
      "</x:TrackExtension></extensions><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>"
      "<trk><name>b</name><extensions><line xmlns=\"http://www.topografix.com/GPX/gpx_style/0/2\">"
      "<color>893380</color></line></extensions><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>"
      "<trk><name>c</name><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk>"
      "<trk><name>d</name><trkseg><trkpt lat=\"1\" lon=\"2\"/></trkseg></trk></gpx>";
  TExportOptions options;
  options.Output.Profile = TProfile::Web;
  options.Output.LineWidth = "2.5";
  const std::string document = Convert(gpx, options);
  std::vector<std::string> styles;
  for (std::size_t at = 0; (at = document.find("<styleUrl>#line-", at)) != std::string::npos; ++at)
    styles.push_back(document.substr(at + 16, 6));
  ASSERT_EQ(styles.size(), 4u);
  EXPECT_EQ(styles[0], "00008b");
  EXPECT_EQ(styles[1], "893380");
  EXPECT_NE(styles[2], styles[3]);
  EXPECT_NE(document.find("<color>ff8b0000</color>"), std::string::npos);
  EXPECT_NE(document.find("<color>ff803389</color>"), std::string::npos);
  EXPECT_NE(document.find("<width>2.5</width>"), std::string::npos);
  EXPECT_EQ(document.find("<Style id=\"line-893380\">"), document.rfind("<Style id=\"line-893380\">"));
}

// Times keep their milliseconds and spans compare instants, whatever zone each is written in.
// Positions are written without the white space around them, a point no reader could place
// has none, a line of one point is that point, and a track without points takes no colour.
TEST(Kml22EdgeCases, StayTrueToTheFileAndValid) {
  const std::string gpx =
      "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\">"
      "<wpt lat=\" 46.6 \" lon=\"-179.7 \"><ele>\n 1000\n</ele><time>2024-05-01T10:00:00+14:59</time></wpt>"
      "<wpt lat=\"north\" lon=\"7.6\"><name>Lost</name></wpt>"
      "<trk><name>Empty</name></trk>"
      "<trk><name>Zones</name><trkseg>"
      "<trkpt lat=\"47\" lon=\"179.9\"><time>2024-05-01T12:00:00+02:00</time></trkpt>"
      "<trkpt lat=\"47\" lon=\"-179.9\"><time>2024-05-01T10:00:00.200Z</time></trkpt>"
      "<trkpt lat=\"47\" lon=\"-179.8\"><time>2024-05-01T10:30:00Z</time></trkpt>"
      "</trkseg><trkseg><trkpt lat=\"47\" lon=\"-179.8\"/></trkseg></trk></gpx>";
  TExportOptions options;
  options.Output.Profile = TProfile::Earth;
  const std::string document = Convert(gpx, options);
  const auto has = [&](std::string_view text) { return document.find(text) != std::string::npos; };
  EXPECT_TRUE(has("<when>2024-04-30T19:01:00Z</when>"));
  EXPECT_TRUE(has("<coordinates>-179.7,46.6,1000</coordinates>"));
  EXPECT_EQ(document.find(",north"), std::string::npos);
  EXPECT_TRUE(has("<name>Lost</name>"));
  EXPECT_TRUE(has("<begin>2024-05-01T12:00:00+02:00</begin>"));  // 10:00Z, before 10:00:00.200Z
  EXPECT_TRUE(has("<end>2024-05-01T10:30:00Z</end>"));
  EXPECT_TRUE(has("<when>2024-05-01T10:00:00.200Z</when>"));
  EXPECT_TRUE(has("Duration: 0:30:00"));
  EXPECT_TRUE(has("<coordinates>-179.8,47,0</coordinates>"));  // the one-point segment
  EXPECT_TRUE(has("<styleUrl>#line-e6194b</styleUrl>"));        // the palette's first, for Zones
  EXPECT_TRUE(has("<longitude>-179.900000</longitude>"));       // from 179.9 east to -179.7
  TARVOLA_EXPECT_VALID(document);
  if (!schemaErrors) GTEST_SKIP() << NoSchemas;
}

}  // namespace
}  // namespace tarvola::kml
