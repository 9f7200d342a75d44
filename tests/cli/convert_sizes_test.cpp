// Large generated GPX files, converted by the real tarvola-convert and by the window's save,
// checked point by point against what the generator wrote. Every route and track is long enough
// to cross each size limit of the conversion (read pieces, held text, drains, the compression
// queue), several in a row, and the kinds come out of their usual order.

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "gps/gpx_reader.h"
#include "kml/save_workflow.h"
#include "process_runner.h"
#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

const std::string Convert = TARVOLA_CONVERT_EXE;

struct TGenPoint {
  std::string Lat, Lon, Ele;  // Ele empty: no <ele>
  int Second = -1;            // of the day; -1: no <time>
  std::string Name;
};

struct TGenList {
  std::string Name;
  std::vector<std::vector<TGenPoint>> Segments;  // a route has one
};

enum class TGenKind { Waypoint, Route, Track };

// What the generator wrote, in file order.
struct TGenFile {
  std::vector<TGenPoint> Waypoints;
  std::vector<TGenList> Routes, Tracks;
  std::vector<TGenKind> Order;  // one entry per waypoint, route and track
};

std::string TimeText(int second) {
  char text[32];
  std::snprintf(text, sizeof text, "2026-05-01T%02d:%02d:%02dZ", second / 3600, second / 60 % 60, second % 60);
  return text;
}

class TGenerator {
public:
  explicit TGenerator(unsigned seed) : FRandom(seed) {}

  TGenPoint Point(bool named) {
    TGenPoint point;
    point.Lat = Number(90);
    point.Lon = Number(180);
    if (Chance(85)) point.Ele = std::to_string(Pick(-400, 8800)) + (Chance(50) ? "" : ".5");
    if (Chance(90)) point.Second = Pick(0, 86399);
    if (named) point.Name = "P" + std::to_string(FCount++) + (Chance(10) ? " Hütte & <Co>" : "");
    return point;
  }

  TGenList List(std::string name, const std::vector<int>& segmentSizes, bool named) {
    TGenList list{std::move(name), {}};
    for (int size : segmentSizes) {
      list.Segments.emplace_back();
      for (int i = 0; i < size; ++i) list.Segments.back().push_back(Point(named));
    }
    return list;
  }

private:
  bool Chance(int percent) { return Pick(0, 99) < percent; }
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(FRandom); }
  std::string Number(int limit) {
    std::string text = std::to_string(Pick(-limit + 1, limit - 1)) + ".";
    for (int digits = Pick(1, 9); digits > 0; --digits) text.push_back(static_cast<char>('0' + Pick(0, 9)));
    return text;
  }

  std::mt19937 FRandom;
  int FCount = 0;
};

// Waypoints, a route, a track, another route, two more tracks and waypoints again: routes past
// the held placemark text, tracks past the held coordinates, one track with an empty segment.
TGenFile Generate(unsigned seed, int scale) {
  TGenerator gen(seed);
  TGenFile file;
  auto waypoints = [&](int count) {
    for (int i = 0; i < count; ++i) {
      file.Waypoints.push_back(gen.Point(true));
      file.Order.push_back(TGenKind::Waypoint);
    }
  };
  auto route = [&](int size) {
    file.Routes.push_back(gen.List("Route " + std::to_string(file.Routes.size() + 1), {size}, true));
    file.Order.push_back(TGenKind::Route);
  };
  auto track = [&](const std::vector<int>& sizes) {
    file.Tracks.push_back(gen.List("Track " + std::to_string(file.Tracks.size() + 1) + " & co", sizes, false));
    file.Order.push_back(TGenKind::Track);
  };
  waypoints(300 * scale);
  route(6000 * scale);
  track({40000 * scale});
  route(7000 * scale);
  track({20000 * scale, 0, 25000 * scale, 3});
  track({45000 * scale});
  waypoints(200 * scale);
  return file;
}

void AppendPoint(std::string& out, std::string_view tag, const TGenPoint& point) {
  out.append("<").append(tag).append(" lat=\"").append(point.Lat).append("\" lon=\"").append(point.Lon).append("\">");
  if (!point.Ele.empty()) out.append("<ele>").append(point.Ele).append("</ele>");
  if (point.Second >= 0) out.append("<time>").append(TimeText(point.Second)).append("</time>");
  if (!point.Name.empty()) {
    std::string name = point.Name;
    for (std::size_t at = 0; (at = name.find_first_of("&<>", at)) != std::string::npos; ++at)
      name.replace(at, 1, name[at] == '&' ? "&amp;" : name[at] == '<' ? "&lt;" : "&gt;");
    out.append("<name>").append(name).append("</name>");
  }
  out.append("</").append(tag).append(">\n");
}

std::string GpxText(const TGenFile& file) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\">\n";
  std::size_t waypoint = 0, route = 0, track = 0;
  for (TGenKind kind : file.Order) {
    if (kind == TGenKind::Waypoint) {
      AppendPoint(out, "wpt", file.Waypoints[waypoint++]);
    } else if (kind == TGenKind::Route) {
      const TGenList& list = file.Routes[route++];
      out.append("<rte><name>").append(list.Name).append("</name>\n");
      for (const TGenPoint& point : list.Segments[0]) AppendPoint(out, "rtept", point);
      out.append("</rte>\n");
    } else {
      const TGenList& list = file.Tracks[track++];
      out.append("<trk>\n");
      for (const auto& segment : list.Segments) {
        out.append(segment.empty() ? "<trkseg/>\n" : "<trkseg>\n");
        for (const TGenPoint& point : segment) AppendPoint(out, "trkpt", point);
        if (!segment.empty()) out.append("</trkseg>\n");
      }
      // The name after the points, as some devices write it.
      std::string name = list.Name;
      name.replace(name.find('&'), 1, "&amp;");
      out.append("<name>").append(name).append("</name></trk>\n");
    }
  }
  return out + "</gpx>\n";
}

// A KML document as a tree of elements with their text.
struct TNode {
  std::string Name, Text;
  std::vector<TNode> Children;
  const TNode* Child(std::string_view name) const {
    for (const TNode& child : Children)
      if (child.Name == name) return &child;
    return nullptr;
  }
  std::string ChildText(std::string_view name) const {
    const TNode* child = Child(name);
    return child ? child->Text : "<none>";
  }
};

struct TTreeBuilder {
  TNode Root;
  std::vector<TNode*> Open{&Root};
};

TNode ParseKml(const std::string& text, std::string& error) {
  TTreeBuilder builder;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &builder);
  XML_SetElementHandler(
      parser,
      [](void* data, const XML_Char* name, const XML_Char**) {
        auto* b = static_cast<TTreeBuilder*>(data);
        b->Open.push_back(&b->Open.back()->Children.emplace_back(TNode{name, {}, {}}));
      },
      [](void* data, const XML_Char*) { static_cast<TTreeBuilder*>(data)->Open.pop_back(); });
  XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int length) {
    static_cast<TTreeBuilder*>(data)->Open.back()->Text.append(s, static_cast<std::size_t>(length));
  });
  if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_OK)
    error = XML_ErrorString(XML_GetErrorCode(parser));
  XML_ParserFree(parser);
  return builder.Root;
}

struct TExport {
  const char* Name;
  std::vector<std::string> Args;
  bool Waypoints, Routes, Tracks, Join, Times;
};

std::string Tuple(const TGenPoint& point) {
  return point.Lon + "," + point.Lat + "," + (point.Ele.empty() ? "0" : point.Ele);
}

std::string Tuples(const std::vector<const std::vector<TGenPoint>*>& segments) {
  std::string text;
  for (const auto* segment : segments)
    for (const TGenPoint& point : *segment) text.append(Tuple(point)).push_back(' ');
  return text;
}

// The first tuple where two coordinate texts part, for a message that fits on a screen.
std::string FirstDifference(const std::string& actual, const std::string& expected) {
  if (actual == expected) return {};
  const auto split = [](const std::string& text) {
    std::vector<std::string> tuples;
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
      end = std::min(text.find(' ', at), text.size());
      tuples.push_back(text.substr(at, end - at));
    }
    return tuples;
  };
  const auto a = split(actual), e = split(expected);
  std::size_t i = 0;
  while (i < a.size() && i < e.size() && a[i] == e[i]) ++i;
  return std::to_string(a.size()) + " tuples, expected " + std::to_string(e.size()) + "; tuple " +
         std::to_string(i) + " is " + (i < a.size() ? a[i] : "missing") + ", expected " +
         (i < e.size() ? e[i] : "none");
}

void ExpectSpan(const TNode& folder, const std::vector<const std::vector<TGenPoint>*>& segments, bool times,
                const std::string& where) {
  int first = -1, last = -1;
  for (const auto* segment : segments)
    for (const TGenPoint& point : *segment) {
      if (point.Second < 0) continue;
      if (first < 0 || point.Second < first) first = point.Second;
      last = std::max(last, point.Second);
    }
  const TNode* span = folder.Child("TimeSpan");
  if (!times || first < 0) {
    EXPECT_EQ(span, nullptr) << where;
    return;
  }
  ASSERT_NE(span, nullptr) << where;
  EXPECT_EQ(span->ChildText("begin"), TimeText(first)) << where;
  EXPECT_EQ(span->ChildText("end"), TimeText(last)) << where;
}

void ExpectPointPlacemark(const TNode& placemark, const TGenPoint& point, bool stamp, const std::string& where) {
  EXPECT_EQ(placemark.ChildText("name"), point.Name) << where;
  const TNode* coordinates = placemark.Child("Point") ? placemark.Child("Point")->Child("coordinates") : nullptr;
  ASSERT_NE(coordinates, nullptr) << where;
  EXPECT_EQ(coordinates->Text, Tuple(point)) << where;
  const TNode* timeStamp = placemark.Child("TimeStamp");
  if (stamp && point.Second >= 0) {
    ASSERT_NE(timeStamp, nullptr) << where;
    EXPECT_EQ(timeStamp->ChildText("when"), TimeText(point.Second)) << where;
  } else {
    EXPECT_EQ(timeStamp, nullptr) << where;
  }
}

void ExpectLine(const TNode& placemark, const std::string& name,
                const std::vector<const std::vector<TGenPoint>*>& segments, const std::string& where) {
  EXPECT_EQ(placemark.ChildText("name"), name) << where;
  const TNode* line = placemark.Child("LineString");
  ASSERT_NE(line, nullptr) << where;
  EXPECT_EQ(FirstDifference(line->ChildText("coordinates"), Tuples(segments)), "") << where << " " << name;
}

std::vector<const TNode*> ChildrenNamed(const TNode& node, std::string_view name) {
  std::vector<const TNode*> found;
  for (const TNode& child : node.Children)
    if (child.Name == name) found.push_back(&child);
  return found;
}

void ExpectRoute(const TNode& folder, const TGenList& route, const TExport& options) {
  const std::string& where = route.Name;
  EXPECT_EQ(folder.ChildText("name"), route.Name);
  ExpectSpan(folder, {&route.Segments[0]}, options.Times, where);
  const auto placemarks = ChildrenNamed(folder, "Placemark");
  ASSERT_EQ(placemarks.size(), route.Segments[0].size() + 1) << where;
  for (std::size_t i = 0; i < route.Segments[0].size(); ++i)
    ExpectPointPlacemark(*placemarks[i], route.Segments[0][i], false, where + " point " + std::to_string(i));
  ExpectLine(*placemarks.back(), "Legs (" + route.Name + ")", {&route.Segments[0]}, where);
}

void ExpectTrack(const TNode& folder, const TGenList& track, const TExport& options) {
  const std::string& where = track.Name;
  EXPECT_EQ(folder.ChildText("name"), track.Name);
  std::vector<const std::vector<TGenPoint>*> all;
  for (const auto& segment : track.Segments) all.push_back(&segment);
  ExpectSpan(folder, all, options.Times, where);
  const auto placemarks = ChildrenNamed(folder, "Placemark");
  if (track.Segments.size() == 1 || options.Join) {
    ASSERT_EQ(placemarks.size(), 1u) << where;
    ExpectLine(*placemarks[0], track.Name, all, where);
    return;
  }
  ASSERT_EQ(placemarks.size(), track.Segments.size()) << where;
  for (std::size_t i = 0; i < track.Segments.size(); ++i)
    ExpectLine(*placemarks[i], "Segment" + std::to_string(i + 1), {&track.Segments[i]}, where);
}

// The document holds exactly the generated data that the options ask for.
void ExpectDocument(const std::string& kml, const TGenFile& file, const TExport& options) {
  std::string error;
  const TNode root = ParseKml(kml, error);
  ASSERT_EQ(error, "");
  const TNode* document = root.Child("kml") ? root.Child("kml")->Child("Document") : nullptr;
  ASSERT_NE(document, nullptr);
  const auto folders = ChildrenNamed(*document, "Folder");
  std::vector<std::string> names, expected;
  for (const TNode* folder : folders) names.push_back(folder->ChildText("name"));
  if (options.Waypoints) expected.push_back("Waypoints");
  if (options.Routes) expected.push_back("Routes");
  if (options.Tracks) expected.push_back("Tracks");
  ASSERT_EQ(names, expected);
  std::size_t next = 0;
  if (options.Waypoints) {
    const auto placemarks = ChildrenNamed(*folders[next++], "Placemark");
    ASSERT_EQ(placemarks.size(), file.Waypoints.size());
    for (std::size_t i = 0; i < placemarks.size(); ++i)
      ExpectPointPlacemark(*placemarks[i], file.Waypoints[i], options.Times, "waypoint " + std::to_string(i));
  }
  if (options.Routes) {
    const auto items = ChildrenNamed(*folders[next++], "Folder");
    ASSERT_EQ(items.size(), file.Routes.size());
    for (std::size_t i = 0; i < items.size(); ++i) ExpectRoute(*items[i], file.Routes[i], options);
  }
  if (options.Tracks) {
    const auto items = ChildrenNamed(*folders[next], "Folder");
    ASSERT_EQ(items.size(), file.Tracks.size());
    for (std::size_t i = 0; i < items.size(); ++i) ExpectTrack(*items[i], file.Tracks[i], options);
  }
}

const std::vector<TExport> Exports = {
    {"Default", {}, true, true, true, false, false},
    {"JoinedWithTimes", {"--join-segments", "--time-stamps"}, true, true, true, true, true},
    {"TracksWithTimes", {"--no-waypoints", "--no-routes", "--time-stamps"}, false, false, true, false, true},
};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::string KmzDocument(const fs::path& kmz) {
  const test::TProcessResult unzip = test::RunProcess(test::UnzipProgram(), {"-p", kmz.string(), "doc.kml"});
  EXPECT_EQ(unzip.ExitCode, 0) << unzip.Err;
  return unzip.Out;
}

kml::TExportOptions OptionsOf(const TExport& run) {
  return {run.Waypoints, run.Routes, run.Tracks, run.Join, run.Times};
}

// Every route and track checked in KML and KMZ, from a file and from a pipe; then the window's
// save of the loaded records, which must give the same document.
void CheckConversions(int scale, unsigned seed) {
  TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ's document is read back with it");
  const test::TTempFolder folder;
  const TGenFile file = Generate(seed, scale);
  const fs::path gpx = folder.File("big.gpx");
  test::WriteFile(gpx, GpxText(file));
  gps::TGpsData loaded;
  ASSERT_EQ(gps::LoadGpxFile(gpx, loaded).Code, gps::TLoadResult::Loaded);
  for (const TExport& run : Exports) {
    SCOPED_TRACE(run.Name);
    std::vector<std::string> args = run.Args;
    args.insert(args.end(), {"-o", "file.kml", "big.gpx"});
    ASSERT_EQ(test::RunProcess(Convert, args, folder.Path()).ExitCode, 0);
    const std::string fromFile = test::ReadFile(folder.File("file.kml"));
    ExpectDocument(fromFile, file, run);

    // From a pipe to standard output, which takes a KMZ when it is no terminal.
    args.back() = "-";
    args[args.size() - 2] = "-";
    std::string pipe = "cat big.gpx | " + Quoted(Convert);
    for (const std::string& arg : args) pipe += " " + Quoted(arg);
    ASSERT_EQ(test::RunProcess("/bin/sh", {"-c", pipe + " > piped.kmz"}, folder.Path()).ExitCode, 0);
    EXPECT_EQ(KmzDocument(folder.File("piped.kmz")).substr(fromFile.find("</Snippet>")),
              fromFile.substr(fromFile.find("</Snippet>")));

    const fs::path saved = folder.File("window.kmz");
    ASSERT_EQ(kml::SaveGpsFile(loaded, OptionsOf(run), fs::temp_directory_path(), saved, kml::TKmlFileType::Kmz).Code,
              kml::TSaveResult::Saved);
    const std::string fromWindow = KmzDocument(saved);
    EXPECT_EQ(fromWindow.substr(fromWindow.find("</Snippet>")), fromFile.substr(fromFile.find("</Snippet>")));
  }
}

TEST(ConvertSizes, EveryRouteAndTrackArrivesWhole) { CheckConversions(1, 17); }

// A line too long for memory needs the temporary folder: without one the conversion fails,
// says why, and writes nothing, for any type.
TEST(ConvertSizes, LongLineWithoutTemporaryFolderFailsNamingIt) {
  const test::TTempFolder folder;
  std::string gpx = "<gpx><trk><trkseg>";
  for (int i = 0; i < 60000; ++i) gpx += "<trkpt lat=\"47.312345\" lon=\"8.512345\"/>";
  test::WriteFile(folder.File("long.gpx"), gpx + "</trkseg></trk></gpx>");
  test::WriteFile(folder.File("file"), "not a folder");
  for (const char* output : {"out.kml", "out.kmz"}) {
    const std::string command = "TMPDIR=" + Quoted(folder.File("file").string()) + " " + Quoted(Convert) +
                                " -o " + output + " long.gpx";
    const test::TProcessResult run = test::RunProcess("/bin/sh", {"-c", command}, folder.Path());
    EXPECT_EQ(run.ExitCode, 1) << output;
    EXPECT_NE(run.Err.find(": cannot write to the temporary folder " + folder.File("file").string() + ": "),
              std::string::npos)
        << run.Err;
    EXPECT_FALSE(fs::exists(folder.File(output)));
  }
}

// Run by the slow label: about two million points.
TEST(ConvertSizes, DISABLED_MillionsOfPoints) { CheckConversions(14, 23); }

}  // namespace
}  // namespace tarvola::cli
