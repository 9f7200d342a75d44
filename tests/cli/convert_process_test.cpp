// The real tarvola-convert, run as a child process.

#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "gps/gpx_reader.h"
#include "kml/kml_builder.h"
#include "kml_readback.h"
#include "process_runner.h"
#include "product_identity.h"
#include "test_streams.h"
#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

const std::string Convert = TARVOLA_CONVERT_EXE;

fs::path DataFile(std::string_view name) { return test::SourceDir() / "tests/kml/data" / name; }

using test::WithoutCreationDate;

#ifdef _WIN32
// Windows has no unzip.
std::string ReadKmzDocument(const fs::path& kmz) { return test::KmzDocument(test::ReadFile(kmz)); }

#define TARVOLA_REQUIRE_KMZ_READER() static_cast<void>(0)

// A name the converter made itself, with the system's separators.
std::string Shown(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The C runtime writes text with CRLF line ends on Windows.
std::string WithLfLines(std::string text) { return std::regex_replace(text, std::regex("\r\n"), "\n"); }
#else
#define TARVOLA_REQUIRE_KMZ_READER() TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ's document is read back with it")

std::string ReadKmzDocument(const fs::path& kmz) {
  const test::TProcessResult unzip = test::RunProcess(test::UnzipProgram(), {"-p", kmz.string(), "doc.kml"});
  EXPECT_EQ(unzip.ExitCode, 0) << unzip.Err;
  return unzip.Out;
}

std::string Shown(std::string path) { return path; }

std::string WithLfLines(std::string text) { return text; }
#endif

class ConverterRun : public testing::Test {
protected:
  fs::path Copy(std::string_view dataName, std::string_view as) {
    const fs::path target = FFolder.File(as);
    fs::create_directories(target.parent_path());
    fs::copy_file(DataFile(dataName), target, fs::copy_options::overwrite_existing);
    return target;
  }
  fs::path Path(std::string_view name) const { return FFolder.File(name); }
  test::TProcessResult Run(const std::vector<std::string>& args) {
    test::TProcessResult run = test::RunProcess(Convert, args, FFolder.Path());
    run.Out = WithLfLines(run.Out);
    run.Err = WithLfLines(run.Err);
    return run;
  }
  // Converts a copy of the sample, in.gpx, with `options` and, when given, into `output`.
  test::TProcessResult ConvertSample(std::vector<std::string> options, const std::string& output = {}) {
    Copy("sample.gpx", "in.gpx");
    if (!output.empty()) options.insert(options.end(), {"-o", output});
    options.push_back("in.gpx");
    return Run(options);
  }

  test::TTempFolder FFolder;
};

TEST_F(ConverterRun, HelpListsEveryOption) {
  const test::TProcessResult run = Run({"--help"});
  EXPECT_EQ(run.ExitCode, 0);
  for (const char* option : {"-o", "-d", "--format", "--no-waypoints", "--no-routes", "--no-tracks",
                             "--join-segments", "--time-stamps", "-j", "-q", "--info", "--help",
                             "--version"}) {
    EXPECT_NE(run.Out.find(option), std::string::npos) << option;
  }
}

TEST_F(ConverterRun, VersionNamesReleaseAndBuild) {
  for (const char* option : {"--version", "-V", "--vers"}) {
    const test::TProcessResult run = Run({option});
    EXPECT_EQ(run.ExitCode, 0) << option;
    // The first line in the form help2man and packagers read: program (package) version.
    EXPECT_EQ(run.Out, "tarvola-convert (Tarvola) " + std::string(product::Version) + "\nbuild " +
                           std::string(product::Build) + "\n") << option;
  }
}

TEST_F(ConverterRun, UsageErrorsExitWithTwoAndWriteNothing) {
  Copy("sample.gpx", "a.gpx");
  const std::vector<std::vector<std::string>> commands = {
      {}, {"--bogus", "a.gpx"}, {"-o", "x.kml", "a.gpx", "a.gpx"}, {"--format", "kmx", "a.gpx"},
      {"-j", "0", "a.gpx"}, {"a.gpx", "-o"}, {"--info", "--time-stamps", "a.gpx"},
      {"--format", "kml", "-o", "x.kmz", "a.gpx"}};
  for (const auto& args : commands) {
    const test::TProcessResult run = Run(args);
    EXPECT_EQ(run.ExitCode, 2) << testing::PrintToString(args);
    EXPECT_NE(run.Err.find("--help"), std::string::npos) << run.Err;
  }
  EXPECT_FALSE(fs::exists(Path("a.kmz")));
  EXPECT_FALSE(fs::exists(Path("x.kml")));
  EXPECT_FALSE(fs::exists(Path("x.kmz")));
}

TEST_F(ConverterRun, WritesAKmzBesideTheInput) {
  Copy("sample.gpx", "trips/alps.gpx");
  const test::TProcessResult run = Run({"trips/alps.gpx"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "trips/alps.gpx: saved " + Shown("trips/alps.kmz") + "\n");
#ifdef _WIN32
  EXPECT_EQ(ReadKmzDocument(Path("trips/alps.kmz")).rfind("<?xml", 0), 0u);
#else
  TARVOLA_REQUIRE_KML_READBACK();
  TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ is tested with it");
  const test::TKmlReadback back = test::ReadBackKml(Path("trips/alps.kmz"));
  EXPECT_EQ(back.Error, "");
  EXPECT_EQ(back.Entries, std::vector<std::string>{"doc.kml"});
  EXPECT_TRUE(back.Deflated);
  EXPECT_EQ(back.Folders, "Waypoints Routes Tracks");
  const test::TProcessResult check = test::RunProcess(test::UnzipProgram(), {"-tq", Path("trips/alps.kmz").string()});
  EXPECT_EQ(check.ExitCode, 0) << check.Out;
#endif
}

TEST_F(ConverterRun, NamesOutsideAsciiArriveUnchanged) {
  Copy("sample.gpx", "Zürich – Üetliberg.gpx");
  const test::TProcessResult run = Run({"Zürich – Üetliberg.gpx", "--format", "kml"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "Zürich – Üetliberg.gpx: saved Zürich – Üetliberg.kml\n");
#ifdef _WIN32
  EXPECT_EQ(test::ReadFile(Path("Zürich – Üetliberg.kml")).rfind("<?xml", 0), 0u);
#else
  TARVOLA_REQUIRE_KML_READBACK();
  EXPECT_EQ(test::ReadBackKml(Path("Zürich – Üetliberg.kml")).Error, "");
#endif
}

struct TTypeRow {
  std::string Name;
  std::vector<std::string> Args;
  std::string Output;
  bool Zip;
};

void PrintTo(const TTypeRow& row, std::ostream* out) { *out << row.Name; }

class ConverterType : public ConverterRun, public testing::WithParamInterface<TTypeRow> {};

TEST_P(ConverterType, FollowsTheExtensionThenFormat) {
  const test::TProcessResult run = ConvertSample(GetParam().Args);
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  const std::string bytes = test::ReadFile(Path(GetParam().Output));
  EXPECT_EQ(bytes.rfind(GetParam().Zip ? "PK\x03\x04" : "<?xml", 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConverterType,
    testing::Values(TTypeRow{"DefaultKmz", {}, "in.kmz", true},
                    TTypeRow{"FormatKml", {"--format", "kml"}, "in.kml", false},
                    TTypeRow{"KmlExtension", {"-o", "out.kml"}, "out.kml", false},
                    TTypeRow{"KmzExtension", {"-o", "out.kmz"}, "out.kmz", true},
                    TTypeRow{"OtherExtensionPacks", {"-o", "out.zip"}, "out.zip", true},
                    TTypeRow{"KmzNameInCapitals", {"-o", "out.KMZ"}, "out.KMZ", true},
                    TTypeRow{"FormatForAnotherName", {"--format", "kml", "-o", "out.txt"}, "out.txt", false}),
    test::TRowName());

struct TGoldenRow {
  std::string Name;
  std::vector<std::string> Args;
  std::string Golden;
};

void PrintTo(const TGoldenRow& row, std::ostream* out) { *out << row.Name; }

class ConverterGolden : public ConverterRun, public testing::WithParamInterface<TGoldenRow> {};

TEST_P(ConverterGolden, ExportOptionsReachTheDocument) {
  const test::TProcessResult run = ConvertSample(GetParam().Args, "out.kml");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(WithoutCreationDate(test::ReadFile(Path("out.kml"))),
            WithoutCreationDate(test::ReadFile(DataFile("golden/" + GetParam().Golden))));
}

TEST_P(ConverterGolden, KmzHoldsTheSameDocument) {
  const test::TProcessResult run = ConvertSample(GetParam().Args, "out.kmz");
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  TARVOLA_REQUIRE_KMZ_READER();
  EXPECT_EQ(WithoutCreationDate(ReadKmzDocument(Path("out.kmz"))),
            WithoutCreationDate(test::ReadFile(DataFile("golden/" + GetParam().Golden))));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConverterGolden,
    testing::Values(
        TGoldenRow{"Defaults", {}, "default.kml"},
        TGoldenRow{"TimeStamps", {"--time-stamps"}, "time-stamps.kml"},
        TGoldenRow{"JoinSegments", {"--join-segments"}, "join-segments.kml"},
        TGoldenRow{"JoinAndTime", {"--join-segments", "--time-stamps"}, "join-and-time.kml"},
        TGoldenRow{"WaypointsOnly", {"--no-routes", "--no-tracks", "--time-stamps"}, "waypoints-only.kml"},
        TGoldenRow{"NoWaypoints", {"--no-waypoints"}, "routes-and-tracks.kml"},
        TGoldenRow{"NothingExported", {"--no-waypoints", "--no-routes", "--no-tracks"}, "head-only.kml"}),
    test::TRowName());

TEST_F(ConverterRun, SnippetHoldsTheCreationMoment) {
  ASSERT_EQ(ConvertSample({}, "out.kml").ExitCode, 0);
  const std::string kml = test::ReadFile(Path("out.kml"));
  EXPECT_TRUE(std::regex_search(kml, std::regex("<Snippet maxLines=\"1\">Created [^<]*[0-9][^<]*</Snippet>")));
}

TEST_F(ConverterRun, ConvertingTwiceGivesTheSameBytesApartFromTheDate) {
  for (const char* output : {"one.kml", "two.kml", "one.kmz", "two.kmz"}) {
    ASSERT_EQ(ConvertSample({"--time-stamps"}, output).ExitCode, 0) << output;
  }
  const std::string one = test::ReadFile(Path("one.kml"));
  EXPECT_EQ(WithoutCreationDate(one), WithoutCreationDate(test::ReadFile(Path("two.kml"))));
  TARVOLA_REQUIRE_KMZ_READER();
  EXPECT_EQ(WithoutCreationDate(ReadKmzDocument(Path("one.kmz"))),
            WithoutCreationDate(ReadKmzDocument(Path("two.kmz"))));
  EXPECT_EQ(WithoutCreationDate(ReadKmzDocument(Path("one.kmz"))), WithoutCreationDate(one));
}

TEST_F(ConverterRun, WritesIntoTheOutputDirectory) {
  Copy("sample.gpx", "a.gpx");
  Copy("empty.gpx", "sub/b.gpx");
  fs::create_directory(Path("out"));
  const test::TProcessResult run = Run({"-q", "-d", "out", "a.gpx", "sub/b.gpx"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_TRUE(fs::is_regular_file(Path("out/a.kmz")));
  EXPECT_TRUE(fs::is_regular_file(Path("out/b.kmz")));
  EXPECT_FALSE(fs::exists(Path("a.kmz")));
}

TEST_F(ConverterRun, RefusesToWriteOntoItsInput) {
  const fs::path input = Copy("sample.gpx", "trip.gpx");
  fs::create_directory(Path("sub"));
  const std::string before = test::ReadFile(input);
  for (const std::string& output : {std::string("trip.gpx"), std::string("sub/../trip.gpx"), input.string()}) {
    const test::TProcessResult run = Run({"--format", "kml", "-o", output, "trip.gpx"});
    EXPECT_EQ(run.ExitCode, 1) << output;
    EXPECT_NE(run.Err.find("tarvola-convert: trip.gpx: refusing to write the output onto the input file"),
              std::string::npos) << run.Err;
  }
  EXPECT_EQ(test::ReadFile(input), before);
}

TEST_F(ConverterRun, AFailedInputLeavesTheOthersWritten) {
  Copy("sample.gpx", "good.gpx");
  test::WriteFile(Path("notxml.gpx"), "this is not XML");
  test::WriteFile(Path("other.gpx"), "<?xml version=\"1.0\"?><kml/>");
  const test::TProcessResult run = Run({"good.gpx", "missing.gpx", "notxml.gpx", "other.gpx"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err,
            "good.gpx: saved good.kmz\n"
            "tarvola-convert: missing.gpx: Cannot open file: " + test::MissingFileReason() + "\n"
            "tarvola-convert: notxml.gpx: Error loading GPX file: not a GPX file: it is not XML\n"
            "tarvola-convert: other.gpx: Error loading GPX file: the document element is kml, not gpx\n");
  EXPECT_TRUE(fs::is_regular_file(Path("good.kmz")));
  EXPECT_FALSE(fs::exists(Path("notxml.kmz")));
}

TEST_F(ConverterRun, QuietReportsOnlyFailures) {
  Copy("sample.gpx", "good.gpx");
  const test::TProcessResult run = Run({"-q", "good.gpx", "missing.gpx"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, "tarvola-convert: missing.gpx: Cannot open file: " + test::MissingFileReason() + "\n");
}

TEST_F(ConverterRun, NoClobberKeepsAnExistingOutputAndFails) {
  Copy("sample.gpx", "in.gpx");
  test::WriteFile(Path("in.kmz"), "keep me");
  for (const char* option : {"-n", "--no-clobber"}) {
    const test::TProcessResult run = Run({option, "in.gpx"});
    EXPECT_EQ(run.ExitCode, 1) << option;
    EXPECT_EQ(run.Err.rfind("tarvola-convert: in.gpx: ", 0), 0u) << run.Err;
  }
  EXPECT_EQ(test::ReadFile(Path("in.kmz")), "keep me");
  EXPECT_EQ(Run({"-n", "-o", "new.kmz", "in.gpx"}).ExitCode, 0);
}

// Standard input read as -, the document on standard output: a filter in a pipe.
TEST_F(ConverterRun, PipeGivesTheSameDocumentAsFiles) {
  const fs::path input = Copy("sample.gpx", "in.gpx");
  ASSERT_EQ(Run({"--time-stamps", "-o", "file.kml", "in.gpx"}).ExitCode, 0);
  const test::TProcessResult piped =
      test::RunProcess(Convert, {"--time-stamps", "-o", "-", "--format", "kml", "-"}, FFolder.Path(),
                       {input, Path("piped.kml")});
  EXPECT_EQ(piped.ExitCode, 0) << piped.Err;
  EXPECT_EQ(piped.Err, "");
  EXPECT_EQ(WithoutCreationDate(test::ReadFile(Path("piped.kml"))),
            WithoutCreationDate(test::ReadFile(Path("file.kml"))));
  // Without -o, standard input goes to standard output; KMZ unless told otherwise.
  const test::TProcessResult packed = test::RunProcess(Convert, {"-"}, FFolder.Path(), {input, Path("piped.kmz")});
  EXPECT_EQ(packed.ExitCode, 0) << packed.Err;
  TARVOLA_REQUIRE_KMZ_READER();
  EXPECT_EQ(WithoutCreationDate(ReadKmzDocument(Path("piped.kmz"))),
            WithoutCreationDate(test::ReadFile(DataFile("golden/default.kml"))));
  EXPECT_FALSE(fs::exists(Path("-.kmz")));
}

TEST_F(ConverterRun, BadStandardInputIsReportedAndWritesNothing) {
  test::WriteFile(Path("broken.gpx"), "<gpx><wpt");
  const test::TProcessResult run =
      test::RunProcess(Convert, {"--format", "kml", "-"}, FFolder.Path(), {Path("broken.gpx"), Path("out.kml")});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err.rfind("tarvola-convert: standard input: Error loading GPX file: not well-formed XML at line 1, column ", 0), 0u) << run.Err;
  EXPECT_EQ(test::ReadFile(Path("out.kml")), "");
}

// The null device is a character device on Windows too, but no terminal: KMZ may go there.
TEST_F(ConverterRun, KmzMayGoToTheNullDevice) {
  Copy("sample.gpx", "in.gpx");
#ifdef _WIN32
  const fs::path nullDevice = "NUL";
#else
  const fs::path nullDevice = "/dev/null";
#endif
  const test::TProcessResult run = test::RunProcess(Convert, {"-o", "-", "in.gpx"}, FFolder.Path(), {{}, nullDevice});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
}

#ifndef _WIN32  // /dev/full has no Windows counterpart
TEST_F(ConverterRun, AFullStandardOutputIsAFailureWithItsReason) {
  const fs::path input = Copy("sample.gpx", "in.gpx");
  for (const char* format : {"kml", "kmz"}) {
    const test::TProcessResult run =
        test::RunProcess(Convert, {"--format", format, "-o", "-", "in.gpx"}, FFolder.Path(), {"/dev/null", "/dev/full"});
    EXPECT_EQ(run.ExitCode, 1) << format;
    EXPECT_EQ(run.Err.rfind("tarvola-convert: in.gpx: ", 0), 0u) << run.Err;
    EXPECT_NE(run.Err.find(": No space left on device\n"), std::string::npos) << run.Err;
  }
  const test::TProcessResult version = test::RunProcess(Convert, {"--version"}, {}, {"/dev/null", "/dev/full"});
  EXPECT_EQ(version.ExitCode, 1);
  EXPECT_NE(version.Err.find("No space left on device"), std::string::npos) << version.Err;
}
#endif

TEST_F(ConverterRun, AnUnwritableTargetIsReportedNotCrashed) {
  const test::TProcessResult run = ConvertSample({}, "no/such/folder/out.kmz");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err.rfind("tarvola-convert: in.gpx: ", 0), 0u) << run.Err;
  EXPECT_EQ(run.Err.find("saved"), std::string::npos) << run.Err;
#ifndef _WIN32  // Windows words the reason "Path not found."
  EXPECT_NE(run.Err.find("No such file or directory"), std::string::npos) << run.Err;
#endif
}

// Messages and files must not depend on how many inputs run at once.
TEST_F(ConverterRun, JobCountChangesNeitherMessagesNorFiles) {
  std::vector<std::string> inputs;
  for (int i = 0; i < 8; ++i) {
    const std::string name = "in" + std::to_string(i) + ".gpx";
    if (i == 3) {
      test::WriteFile(Path(name), "broken");
    } else if (i != 5) {
      Copy(i % 2 == 0 ? "sample.gpx" : "empty.gpx", name);
    }
    inputs.push_back(name);
  }
  fs::create_directory(Path("serial"));
  fs::create_directory(Path("parallel"));
  std::vector<std::string> serialArgs = {"--format", "kml", "-j", "1", "-d", "serial"};
  std::vector<std::string> parallelArgs = {"--format", "kml", "-j", "4", "-d", "parallel"};
  serialArgs.insert(serialArgs.end(), inputs.begin(), inputs.end());
  parallelArgs.insert(parallelArgs.end(), inputs.begin(), inputs.end());
  const test::TProcessResult serial = Run(serialArgs);
  const test::TProcessResult parallel = Run(parallelArgs);
  EXPECT_EQ(serial.ExitCode, 1);
  EXPECT_EQ(parallel.ExitCode, 1);
  EXPECT_EQ(std::regex_replace(parallel.Err, std::regex("parallel([/\\\\])"), "serial$1"), serial.Err);
  for (const std::string& input : inputs) {
    const fs::path name = fs::path(input).replace_extension(".kml");
    ASSERT_EQ(fs::exists(Path("serial") / name), fs::exists(Path("parallel") / name)) << name;
    if (!fs::exists(Path("serial") / name)) continue;
    EXPECT_EQ(WithoutCreationDate(test::ReadFile(Path("serial") / name)),
              WithoutCreationDate(test::ReadFile(Path("parallel") / name)));
  }
}

TEST_F(ConverterRun, NoProgressLineWhenStderrIsNotATerminal) {
  const test::TProcessResult run = ConvertSample({});
  EXPECT_EQ(run.Err.find('\r'), std::string::npos);
}

TEST_F(ConverterRun, InfoReportsEachFileInOrder) {
  Copy("sample.gpx", "a.gpx");
  const test::TProcessResult run = Run({"--info", "a.gpx", "missing.gpx"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out,
            "a.gpx: loaded\n"
            "  waypoints: 4\n"
            "  routes: 3\n"
            "  route points: 4\n"
            "  tracks: 4\n"
            "  segments: 6\n"
            "  track points: 7\n"
            "  earliest time: 2024-06-01T06:00:00Z\n"
            "  latest time: 2024-06-02T07:00:00+02:00\n");
  EXPECT_EQ(run.Err, "tarvola-convert: missing.gpx: Cannot open file: " + test::MissingFileReason() + "\n");
  EXPECT_FALSE(fs::exists(Path("a.kmz")));
}

TEST_F(ConverterRun, InfoExitsWithZeroWhenEveryFileLoads) {
  Copy("sample.gpx", "a.gpx");
  Copy("empty.gpx", "b.gpx");
  const test::TProcessResult run = Run({"--info", "a.gpx", "b.gpx"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_NE(run.Out.find("b.gpx: loaded\n  waypoints: 0\n"), std::string::npos) << run.Out;
}

}  // namespace
}  // namespace tarvola::cli

namespace tarvola::cli {
namespace {

#ifndef _WIN32  // the limit is set with the shell's ulimit
// A long track, then a waypoint and a route after it: the order that makes the converter read
// the file a second time, holding the track until the end.
std::string LongTrackThenWaypoint(int points) {
  std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                    "<trk><name>long</name><trkseg>\n";
  for (int i = 0; i < points; ++i) {
    const std::string n = std::to_string(i);
    gpx += "  <trkpt lat=\"47." + n + "\" lon=\"11." + n + "\"><ele>" + n +
           "</ele><time>2024-06-01T06:00:00Z</time><extensions><hr>120</hr><cad>80</cad>"
           "<note>padding that a reader skips</note></extensions></trkpt>\n";
    if (i == points / 2) gpx += "</trkseg><trkseg>\n";
  }
  return gpx + "</trkseg></trk>\n<wpt lat=\"1\" lon=\"2\"><name>late</name></wpt>\n"
               "<rte><rtept lat=\"3\" lon=\"4\"/></rte>\n</gpx>\n";
}

// The converter holds no more than a route or track at a time, and not in memory: a file far
// larger than the address space it may use still converts, to the same bytes as BuildKml, and
// its --info, which holds nothing either, counts it.
TEST_F(ConverterRun, ConvertsAFileLargerThanItsMemoryLimit) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's shadow memory alone exceeds the limit";
#endif
  TARVOLA_REQUIRE_TOOL(Unzip, "the KMZ's document is read back with it");
  const std::string gpx = LongTrackThenWaypoint(700'000);
  test::WriteFile(Path("big.gpx"), gpx);
  constexpr std::size_t LimitKb = 56 * 1024;
  ASSERT_GT(gpx.size(), 2 * LimitKb * 1024);
  gps::TGpsData data;
  ASSERT_EQ(gps::LoadGpxFile(Path("big.gpx"), data), gps::TLoadResult::Loaded);
  kml::TExportOptions options;
  options.TimeStamps = true;
  const std::string expected = WithoutCreationDate(kml::BuildKml(data, options, "-"));
  data = {};
  const auto runLimited = [&](const std::string& arguments) {
    return test::RunProcess(
        "/bin/sh", {"-c", "ulimit -v " + std::to_string(LimitKb) + " && exec \"$0\" " + arguments, Convert},
        FFolder.Path());
  };
  for (const std::string type : {"kml", "kmz"}) {
    const test::TProcessResult run = runLimited("--time-stamps -o big." + type + " big.gpx");
    ASSERT_EQ(run.ExitCode, 0) << type << ": " << run.Err;
    const std::string written =
        type == "kml" ? test::ReadFile(Path("big.kml")) : ReadKmzDocument(Path("big.kmz"));
    EXPECT_TRUE(WithoutCreationDate(written) == expected) << type;
  }
  const test::TProcessResult info = runLimited("--info big.gpx");
  EXPECT_EQ(info.ExitCode, 0) << info.Err;
  EXPECT_NE(info.Out.find("  track points: 700000\n"), std::string::npos) << info.Out;
}
#endif

}  // namespace
}  // namespace tarvola::cli

namespace tarvola::cli {
namespace {

// The document is written while the file is read: a file that turns out broken after megabytes
// of output must still leave the old target as it was and no new file beside it.
TEST_F(ConverterRun, AFileBrokenLateLeavesTheOldTarget) {
  std::string gpx = "<gpx>\n";
  for (int i = 0; i < 40'000; ++i)
    gpx += "<wpt lat=\"47." + std::to_string(i) + "\" lon=\"11.5\"><name>Waypoint number " +
           std::to_string(i) + "</name><desc>a description long enough to fill the output</desc></wpt>\n";
  gpx += "<wpt><name>unclosed</wpt>\n</gpx>\n";
  test::WriteFile(Path("late.gpx"), gpx);
  for (const std::string type : {"kml", "kmz"}) {
    test::WriteFile(Path("old." + type), "the old target");
    const test::TProcessResult run = Run({"-o", "old." + type, "late.gpx"});
    EXPECT_EQ(run.ExitCode, 1) << type;
    EXPECT_EQ(test::ReadFile(Path("old." + type)), "the old target") << type;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(FFolder.Path()))
    EXPECT_EQ(entry.path().filename().string().rfind(".tarvola-save-", 0), std::string::npos)
        << entry.path();
}

}  // namespace
}  // namespace tarvola::cli
