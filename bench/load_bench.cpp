// Loading a large GPX file: LoadGpxFile next to pugixml alone (default options, every track
// point walked), each in its own child process, fastest of three runs.
//   tarvola_bench_load FILE.gpx

#include <cstdio>

#include "bench_util.h"
#include "pugixml_reference.h"
#include "gps/gpx_reader.h"

namespace {

namespace gps = tarvola::gps;
namespace bench = tarvola::bench;

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
  const bench::TInputFile input = bench::OneInputFile(argc, argv);
  if (input.Failure != 0) return input.Failure;
  const char* path = input.Path;
  const std::uint64_t fileBytes = input.Bytes;
  bench::PrintHeading("GPX load", path, fileBytes);
  const int runs = 3;
  bench::TMeasure reference = bench::BestOf(runs, [&] { return bench::PugixmlAlone(path); });
  bench::TMeasure load = bench::BestOf(runs, [&] { return Load(path); });
  bench::PrintMeasure("pugixml alone (default options)", reference, fileBytes);
  bench::PrintMeasure("LoadGpxFile", load, fileBytes);
  bench::PrintRatio("LoadGpxFile / pugixml", load, reference);
  return reference.Ok && load.Ok ? 0 : 1;
}
