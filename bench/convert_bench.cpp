// Converting a large GPX file, side by side in one run on the same input: tarvola-convert to KML
// and to KMZ in the classic profile and in the KML 2.2 ones (earth, web), loading the whole file first (the window's way) and saving, pugixml alone parsing
// the input, zlib's raw deflate alone of the KML produced, and, when installed, gpsbabel's KML
// output with points off and GDAL's KML driver. A converter given in TARVOLA_BENCH_BASELINE
// (an older build) runs too. Each in its own process, fastest of three runs.
//   tarvola_bench_convert TARVOLA-CONVERT FILE.gpx

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
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

namespace {

namespace fs = std::filesystem;
namespace bench = tarvola::bench;
namespace gps = tarvola::gps;
namespace kml = tarvola::kml;

constexpr int Runs = 3;

int LoadThenSave(const char* input, const fs::path& target) {
  gps::TGpsData data;
  if (gps::LoadGpxFile(input, data) != gps::TLoadResult::Loaded) return 1;
  const kml::TSaveResult result = kml::SaveGpsFile(data, kml::TExportOptions{}, fs::temp_directory_path(),
                                                   target, kml::TKmlFileType::Kml).Code;
  return result == kml::TSaveResult::Saved ? 0 : 1;
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

bench::TMeasure Program(const std::vector<std::string>& args, int runs = Runs) {
  return bench::FastestOf(runs, [&] { return bench::MeasureProgram(args); });
}

// GDAL's KML driver takes minutes and gigabytes for the 1,000,000-point file; the other
// converters are compared on files up to this size, once each.
constexpr std::uint64_t OtherConvertersUpTo = 64u << 20;

// "faster" or "of the time": how `m` compares with `other` in wall and CPU time.
void PrintAgainst(const char* label, const bench::TMeasure& m, const bench::TMeasure& other,
                  const char* target) {
  if (!m.Ok || !other.Ok || m.Seconds <= 0 || m.CpuSeconds <= 0) return;
  std::printf("  %-40s %.2fx  (cpu %.2fx)   %s\n", label, other.Seconds / m.Seconds,
              other.CpuSeconds / m.CpuSeconds, target);
}

void PrintShare(const char* label, const bench::TMeasure& m, const bench::TMeasure& other,
                const char* target) {
  if (!m.Ok || !other.Ok || other.Seconds <= 0 || other.CpuSeconds <= 0) return;
  std::printf("  %-40s %.2fx  (cpu %.2fx)   %s\n", label, m.Seconds / other.Seconds,
              m.CpuSeconds / other.CpuSeconds, target);
}

void PrintPeak(const char* label, const bench::TMeasure& m, std::uint64_t fileBytes, const char* target) {
  if (!m.Ok || fileBytes == 0) return;
  std::printf("  %-40s %.3fx file   %s\n", label,
              static_cast<double>(m.PeakRssBytes) / static_cast<double>(fileBytes), target);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s TARVOLA-CONVERT FILE.gpx\n", argv[0]);
    return 2;
  }
  const std::string convert = argv[1];
  const bench::TInputFile input = bench::OneInputFile(argc - 1, argv + 1);
  if (input.Failure != 0) return input.Failure;
  const std::string path = input.Path;
  const std::uint64_t fileBytes = input.Bytes;
  const fs::path work = fs::path(path).parent_path() / "convert-bench";
  fs::create_directories(work);
  const std::string kmlTarget = (work / "out.kml").string();

  bench::PrintHeading("GPX to KML/KMZ", path, fileBytes);
  const bench::TMeasure toKml = Program({convert, "-q", "--format", "kml", "-o", kmlTarget, path});
  const bench::TMeasure toKmz =
      Program({convert, "-q", "--format", "kmz", "-o", (work / "out.kmz").string(), path});
  const bench::TMeasure earthKml =
      Program({convert, "-q", "--profile", "earth", "--format", "kml", "-o", (work / "earth.kml").string(), path});
  const bench::TMeasure earthKmz =
      Program({convert, "-q", "--profile", "earth", "--format", "kmz", "-o", (work / "earth.kmz").string(), path});
  const bench::TMeasure webKml =
      Program({convert, "-q", "--profile", "web", "--format", "kml", "-o", (work / "web.kml").string(), path});
  const std::uint64_t earthBytes = bench::FileBytes((work / "earth.kml").string().c_str()).value_or(0);
  const bench::TMeasure loadSave =
      bench::BestOf(Runs, [&] { return LoadThenSave(path.c_str(), work / "records.kml"); });
  const bench::TMeasure parse = bench::BestOf(Runs, [&] { return bench::PugixmlAlone(path.c_str()); });
  const std::string kmlBytes = ReadAll(kmlTarget);
  const bench::TMeasure deflate = bench::BestOf(Runs, [&] { return DeflateAlone(kmlBytes); });
  bench::TMeasure baseline, gpsbabel, ogr2ogr;
  if (const char* old = std::getenv("TARVOLA_BENCH_BASELINE"); old != nullptr && *old != 0)
    baseline = Program({old, "-q", "--format", "kml", "-o", (work / "baseline.kml").string(), path});
  const bool others = fileBytes <= OtherConvertersUpTo;
  const bool hasGpsbabel = others && bench::OnPath("gpsbabel");
  const bool hasOgr2ogr = others && bench::OnPath("ogr2ogr");
  if (hasGpsbabel)
    gpsbabel = Program({"gpsbabel", "-i", "gpx", "-f", path, "-o", "kml,points=0", "-F",
                        (work / "gpsbabel.kml").string()}, 1);
  if (hasOgr2ogr)
    ogr2ogr = Program({"ogr2ogr", "-overwrite", "-f", "KML", (work / "ogr.kml").string(), path}, 1);

  bench::PrintMeasure("tarvola-convert to KML", toKml, fileBytes);
  bench::PrintMeasure("tarvola-convert to KMZ", toKmz, fileBytes);
  bench::PrintMeasure("tarvola-convert --profile earth, KML", earthKml, fileBytes);
  bench::PrintMeasure("tarvola-convert --profile earth, KMZ", earthKmz, fileBytes);
  bench::PrintMeasure("tarvola-convert --profile web, KML", webKml, fileBytes);
  std::printf("  earth KML produced: %.1f MB\n", bench::Megabytes(earthBytes));
  bench::PrintMeasure("LoadGpxFile + SaveGpsFile (KML)", loadSave, fileBytes);
  bench::PrintMeasure("pugixml parse alone", parse, fileBytes);
  std::printf("  KML produced: %.1f MB\n", bench::Megabytes(kmlBytes.size()));
  bench::PrintMeasure("zlib raw deflate alone (of the KML)", deflate, 0);
  if (baseline.Ok || std::getenv("TARVOLA_BENCH_BASELINE"))
    bench::PrintMeasure("baseline converter to KML", baseline, fileBytes);
  if (!others) std::printf("  (gpsbabel and ogr2ogr run on the smaller file)\n");
  else if (hasGpsbabel) bench::PrintMeasure("gpsbabel -o kml,points=0 (one run)", gpsbabel, fileBytes);
  else std::printf("  (gpsbabel not installed: bench/setup.sh installs it)\n");
  if (others && hasOgr2ogr) bench::PrintMeasure("ogr2ogr -f KML (one run)", ogr2ogr, fileBytes);
  else if (others) std::printf("  (ogr2ogr not installed: bench/setup.sh installs it)\n");

  std::printf("\n");
  PrintPeak("KML peak / file", toKml, fileBytes, "(target <= 0.1x)");
  PrintPeak("KMZ peak / file", toKmz, fileBytes, "(target <= 0.1x)");
  PrintPeak("earth KML peak / file", earthKml, fileBytes, "(held text bounded: the same MB at any size)");
  PrintPeak("earth KMZ peak / file", earthKmz, fileBytes, "(held text bounded: the same MB at any size)");
  PrintShare("KMZ / KML time", toKmz, toKml, "(target <= 1.3x)");
  PrintShare("earth / classic KML time", earthKml, toKml, "");
  PrintShare("web / classic KML time", webKml, toKml, "");
  PrintShare("KML / baseline converter time", toKml, baseline, "(target <= 0.7x)");
  PrintShare("KML / pugixml parse alone time", toKml, parse, "");
  PrintAgainst("faster than gpsbabel -o kml,points=0", toKml, gpsbabel, "(target >= 5x)");
  PrintAgainst("faster than ogr2ogr -f KML", toKml, ogr2ogr, "");

  std::error_code ec;
  fs::remove_all(work, ec);
  return toKml.Ok && toKmz.Ok && earthKml.Ok && earthKmz.Ok && webKml.Ok && loadSave.Ok && parse.Ok && deflate.Ok ? 0 : 1;
}
