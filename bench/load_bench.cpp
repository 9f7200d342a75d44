// Loading a large GPX file: LoadGpxFile next to pugixml alone (default options, every track
// point walked), each in its own child process, fastest of three runs.
//   tarvola_bench_load FILE.gpx

#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench_util.h"
#include "gps/gpx_reader.h"

namespace {

namespace gps = tarvola::gps;
namespace bench = tarvola::bench;

// What any consumer of the DOM does at the least: touch each point's coordinates and values.
int PugixmlAlone(const char* path) {
  pugi::xml_document document;
  if (!document.load_file(path)) return 1;
  std::size_t points = 0, characters = 0;
  for (pugi::xml_node trk : document.document_element().children("trk"))
    for (pugi::xml_node seg : trk.children("trkseg"))
      for (pugi::xml_node pt : seg.children("trkpt")) {
        characters +=
            std::strlen(pt.attribute("lat").value()) + std::strlen(pt.attribute("lon").value());
        characters += std::strlen(pt.child_value("ele")) + std::strlen(pt.child_value("time"));
        ++points;
      }
  return points > 0 && characters > 0 ? 0 : 1;
}

int Load(const char* path) {
  gps::TGpsData data;
  if (gps::LoadGpxFile(path, data) != gps::TLoadResult::Loaded) return 1;
  std::size_t points = 0;
  for (const gps::TTrk& track : *data.Tracks)
    if (track.Segments)
      for (const gps::TTrkSeg& segment : *track.Segments)
        if (segment.Points) points += segment.Points->size();
  return points > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.gpx\n", argv[0]);
    return 2;
  }
  const char* path = argv[1];
  std::error_code ec;
  auto fileBytes = static_cast<std::uint64_t>(std::filesystem::file_size(path, ec));
  if (ec) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  bench::PrintHeading("GPX load", path, fileBytes);
  const int runs = 3;
  bench::TMeasure reference = bench::BestOf(runs, [&] { return PugixmlAlone(path); });
  bench::TMeasure load = bench::BestOf(runs, [&] { return Load(path); });
  bench::PrintMeasure("pugixml alone (default options)", reference, fileBytes);
  bench::PrintMeasure("LoadGpxFile", load, fileBytes);
  bench::PrintRatio("LoadGpxFile / pugixml", load, reference);
  return reference.Ok && load.Ok ? 0 : 1;
}
