// Converting a large GPX file: GPX to KML and to KMZ end to end, next to pugixml alone parsing
// the input, zlib's raw deflate alone of the KML bytes produced, and the KMZ packing step alone.
// Each is measured in its own child process, fastest of three runs, in the same run.
//   tarvola_bench_convert FILE.gpx

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench_util.h"
#include "pugixml_reference.h"
#include "gps/gpx_reader.h"
#include "kml/kml_builder.h"
#include "kml/save_workflow.h"
#include "zip/zip_writer.h"

namespace {

namespace fs = std::filesystem;
namespace bench = tarvola::bench;
namespace gps = tarvola::gps;
namespace kml = tarvola::kml;

int Convert(const char* input, const fs::path& target, kml::TKmlFileType type) {
  gps::TGpsData data;
  if (gps::LoadGpxFile(input, data) != gps::TLoadResult::Loaded) return 1;
  const kml::TSaveResult result =
      kml::SaveGpsFile(data, kml::TExportOptions{}, fs::temp_directory_path(), target, type);
  return result == kml::TSaveResult::Saved ? 0 : 1;
}

int BuildOnly(const gps::TGpsData& data) {
  const std::string document = kml::BuildKml(data, kml::TExportOptions{}, kml::CreatedNowText());
  return document.size() > 1000 ? 0 : 1;
}

// Raw deflate as the KMZ entry needs it (default level, memory level 9), memory to memory.
int DeflateAlone(const std::string& bytes) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) return 1;
  std::vector<unsigned char> out(deflateBound(&stream, static_cast<uLong>(bytes.size())));
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int code = deflate(&stream, Z_FINISH);
  deflateEnd(&stream);
  return code == Z_STREAM_END ? 0 : 1;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PrintTarget(const char* label, double value, double limit) {
  std::printf("  %-34s %.2fx   (target <= %.2fx: %s)\n", label, value, limit,
              value <= limit ? "met" : "MISSED");
}

// Wall time against the target; CPU time beside it, since a busy machine stretches wall time.
void PrintTimeTarget(const char* label, const bench::TMeasure& m, const bench::TMeasure& reference,
                     double limit) {
  if (!m.Ok || !reference.Ok || reference.Seconds <= 0 || reference.CpuSeconds <= 0) return;
  const double wall = m.Seconds / reference.Seconds;
  std::printf("  %-34s %.2fx  (cpu %.2fx)   (target <= %.2fx: %s)\n", label, wall,
              m.CpuSeconds / reference.CpuSeconds, limit, wall <= limit ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const bench::TInputFile input = bench::OneInputFile(argc, argv);
  if (input.Failure != 0) return input.Failure;
  const char* path = input.Path;
  const std::uint64_t fileBytes = input.Bytes;
  const fs::path work = fs::path(path).parent_path() / "convert-bench";
  fs::create_directories(work);
  const fs::path kmlTarget = work / "out.kml";
  const fs::path kmzTarget = work / "out.kmz";
  const fs::path packed = work / "packed.kmz";

  bench::PrintHeading("GPX to KML/KMZ", path, fileBytes);
  const int runs = 3;
  const bench::TMeasure parse = bench::BestOf(runs, [&] { return bench::PugixmlAlone(path); });
  const bench::TMeasure toKml = bench::BestOf(runs, [&] { return Convert(path, kmlTarget, kml::TKmlFileType::Kml); });
  const bench::TMeasure toKmz = bench::BestOf(runs, [&] { return Convert(path, kmzTarget, kml::TKmlFileType::Kmz); });

  // The steps alone, on what the parent prepared before forking.
  bench::TMeasure build;
  {
    gps::TGpsData data;
    if (gps::LoadGpxFile(path, data) == gps::TLoadResult::Loaded) {
      build = bench::BestOf(runs, [&] { return BuildOnly(data); });
    }
  }
  const std::string kmlBytes = ReadAll(kmlTarget);
  const bench::TMeasure deflate = bench::BestOf(runs, [&] { return DeflateAlone(kmlBytes); });
  const bench::TMeasure pack = bench::BestOf(runs, [&] {
    return tarvola::zip::ZipSingleFile(kmlTarget, packed) == tarvola::zip::ZipOk ? 0 : 1;
  });

  bench::PrintMeasure("pugixml alone (default options)", parse, fileBytes);
  bench::PrintMeasure("GPX to KML, end to end", toKml, fileBytes);
  bench::PrintMeasure("GPX to KMZ, end to end", toKmz, fileBytes);
  bench::PrintMeasure("BuildKml alone (data loaded)", build, 0);
  std::printf("  KML produced: %.1f MB\n", bench::Megabytes(kmlBytes.size()));
  bench::PrintMeasure("zlib raw deflate alone", deflate, 0);
  bench::PrintMeasure("KMZ packing (ZipSingleFile)", pack, 0);
  PrintTimeTarget("GPX to KML / pugixml", toKml, parse, 1.6);
  PrintTimeTarget("packing / deflate alone", pack, deflate, 1.15);
  const double size = static_cast<double>(fileBytes);
  if (toKml.Ok) PrintTarget("GPX to KML peak / file", static_cast<double>(toKml.PeakRssBytes) / size, 3.5);
  if (toKmz.Ok) PrintTarget("GPX to KMZ peak / file", static_cast<double>(toKmz.PeakRssBytes) / size, 3.5);

  std::error_code ec;
  fs::remove_all(work, ec);
  return parse.Ok && toKml.Ok && toKmz.Ok && build.Ok && deflate.Ok && pack.Ok ? 0 : 1;
}
