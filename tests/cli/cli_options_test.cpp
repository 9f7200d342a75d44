#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>
#include "test_support.h"

namespace tarvola::cli {
namespace {

TParseResult Parse(const std::vector<std::string>& args) {
  std::vector<std::string_view> views(args.begin(), args.end());
  return ParseCommandLine(views);
}

struct TAcceptedCase {
  std::string Name;
  std::vector<std::string> Args;
  TCliOptions Expected;
};

void PrintTo(const TAcceptedCase& row, std::ostream* out) { *out << row.Name; }

// The defaults with the given inputs, changed by `adjust`.
template <typename TAdjust>
TCliOptions Expect(TCliMode mode, std::vector<std::string> inputs, TAdjust adjust) {
  TCliOptions options;
  options.Mode = mode;
  options.Inputs = std::move(inputs);
  adjust(options);
  return options;
}

TCliOptions Expect(TCliMode mode, std::vector<std::string> inputs) {
  return Expect(mode, std::move(inputs), [](TCliOptions&) {});
}

TCliOptions Expect(std::vector<std::string> inputs) {
  return Expect(TCliMode::Convert, std::move(inputs));
}

template <typename TAdjust>
TCliOptions Expect(std::vector<std::string> inputs, TAdjust adjust) {
  return Expect(TCliMode::Convert, std::move(inputs), adjust);
}

class AcceptedCommandLine : public testing::TestWithParam<TAcceptedCase> {};

TEST_P(AcceptedCommandLine, GivesTheOptions) {
  const TAcceptedCase& row = GetParam();
  const TParseResult parsed = Parse(row.Args);
  ASSERT_TRUE(parsed.Ok()) << parsed.Error;
  const TCliOptions& options = parsed.Options;
  const TCliOptions& expected = row.Expected;
  EXPECT_EQ(options.Mode, expected.Mode);
  EXPECT_EQ(options.Inputs, expected.Inputs);
  EXPECT_EQ(options.Output, expected.Output);
  EXPECT_EQ(options.OutputDir, expected.OutputDir);
  EXPECT_EQ(options.Format, expected.Format);
  EXPECT_EQ(options.Export.Waypoints, expected.Export.Waypoints);
  EXPECT_EQ(options.Export.Routes, expected.Export.Routes);
  EXPECT_EQ(options.Export.Tracks, expected.Export.Tracks);
  EXPECT_EQ(options.Export.JoinSegments, expected.Export.JoinSegments);
  EXPECT_EQ(options.Export.TimeStamps, expected.Export.TimeStamps);
  EXPECT_EQ(options.Export.Output.Profile, expected.Export.Output.Profile);
  EXPECT_EQ(options.Export.Output.Altitude, expected.Export.Output.Altitude);
  EXPECT_EQ(options.Export.Output.Extrude, expected.Export.Output.Extrude);
  EXPECT_EQ(options.Export.Output.LineWidth, expected.Export.Output.LineWidth);
  EXPECT_EQ(options.Export.Output.Units, expected.Export.Output.Units);
  EXPECT_EQ(options.Jobs, expected.Jobs);
  EXPECT_EQ(options.Quiet, expected.Quiet);
  EXPECT_EQ(options.NoClobber, expected.NoClobber);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AcceptedCommandLine,
    testing::Values(
        TAcceptedCase{"OneInput", {"a.gpx"}, Expect({"a.gpx"})},
        TAcceptedCase{"SeveralInputsKeepTheirOrder", {"b.gpx", "a.gpx", "c.gpx"},
                      Expect({"b.gpx", "a.gpx", "c.gpx"})},
        TAcceptedCase{"OutputSeparate", {"-o", "x.kml", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Output = "x.kml"; })},
        TAcceptedCase{"OutputAttached", {"-ox.kmz", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Output = "x.kmz"; })},
        TAcceptedCase{"OutputLong", {"a.gpx", "--output=x.kml"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Output = "x.kml"; })},
        TAcceptedCase{"Directory", {"-d", "out", "a.gpx", "b.gpx"},
                      Expect({"a.gpx", "b.gpx"}, [](TCliOptions& o) { o.OutputDir = "out"; })},
        TAcceptedCase{"DirectoryLong", {"--output-dir", "out", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.OutputDir = "out"; })},
        TAcceptedCase{"FormatKml", {"--format", "kml", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Format = kml::TKmlFileType::Kml; })},
        TAcceptedCase{"FormatKmzAttached", {"--format=kmz", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Format = kml::TKmlFileType::Kmz; })},
        TAcceptedCase{"ExportFlags",
                      {"--no-waypoints", "--no-routes", "--no-tracks", "--join-segments",
                       "--time-stamps", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Export = {false, false, false, true, true}; })},
        TAcceptedCase{"Profile", {"--profile", "earth", "--altitude=relative", "--extrude", "--line-width", "2.5",
                                  "--units", "imperial", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) {
                        o.Export.Output = {kml::TProfile::Earth, kml::TAltitude::Relative, true, "2.5",
                                           kml::TUnits::Imperial}; })},
        TAcceptedCase{"ProfilePrefixes", {"--prof=web", "--alt", "absolute", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) {
                        o.Export.Output.Profile = kml::TProfile::Web; o.Export.Output.Altitude = kml::TAltitude::Absolute; })},
        TAcceptedCase{"OneExportFlag", {"--no-routes", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Export.Routes = false; })},
        TAcceptedCase{"JobsAndQuiet", {"-j", "3", "-q", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Jobs = 3; o.Quiet = true; })},
        TAcceptedCase{"LastJobsWins", {"-j8", "--jobs=2", "--quiet", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Jobs = 2; o.Quiet = true; })},
        TAcceptedCase{"DoubleDashEndsOptions", {"--", "-o.gpx", "--help"}, Expect({"-o.gpx", "--help"})},
        TAcceptedCase{"LoneDashIsAFile", {"-"}, Expect({"-"})},
        TAcceptedCase{"Info", {"--info", "a.gpx", "b.gpx"}, Expect(TCliMode::Info, {"a.gpx", "b.gpx"})},
        TAcceptedCase{"HelpAfterInputs", {"a.gpx", "--help"}, Expect(TCliMode::Help, {"a.gpx"})},
        TAcceptedCase{"ShortHelp", {"-h"}, Expect(TCliMode::Help, {})},
        TAcceptedCase{"Version", {"--version", "a.gpx"}, Expect(TCliMode::Version, {})},
        TAcceptedCase{"ShortVersion", {"-V"}, Expect(TCliMode::Version, {})},
        TAcceptedCase{"BundledFlagsAndValue", {"-qj2", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Quiet = true; o.Jobs = 2; })},
        TAcceptedCase{"BundleEndsInValueOption", {"-nqo", "x.kml", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.NoClobber = true; o.Quiet = true; o.Output = "x.kml"; })},
        TAcceptedCase{"BundleValueAttached", {"-qox.kml", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.Quiet = true; o.Output = "x.kml"; })},
        TAcceptedCase{"NoClobberLong", {"--no-clobber", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.NoClobber = true; })},
        TAcceptedCase{"UnambiguousPrefixes", {"--form=kml", "--time", "--no-w", "--job", "3", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) {
                        o.Format = kml::TKmlFileType::Kml; o.Export.TimeStamps = true;
                        o.Export.Waypoints = false; o.Jobs = 3; })},
        TAcceptedCase{"PrefixWithValueAfter", {"--output-d", "out", "a.gpx"},
                      Expect({"a.gpx"}, [](TCliOptions& o) { o.OutputDir = "out"; })},
        TAcceptedCase{"StandardStreams", {"-o", "-", "-"},
                      Expect({"-"}, [](TCliOptions& o) { o.Output = "-"; })},
        TAcceptedCase{"StandardInputToAFile", {"-", "-o", "x.kml"},
                      Expect({"-"}, [](TCliOptions& o) { o.Output = "x.kml"; })}),
    test::TRowName());

struct TRejectedCase {
  std::string Name;
  std::vector<std::string> Args;
  std::string ErrorPart;
};

void PrintTo(const TRejectedCase& row, std::ostream* out) { *out << row.Name; }

class RejectedCommandLine : public testing::TestWithParam<TRejectedCase> {};

TEST_P(RejectedCommandLine, IsAUsageError) {
  const TParseResult parsed = Parse(GetParam().Args);
  ASSERT_FALSE(parsed.Ok());
  EXPECT_NE(parsed.Error.find(GetParam().ErrorPart), std::string::npos) << parsed.Error;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RejectedCommandLine,
    testing::Values(
        TRejectedCase{"Nothing", {}, "no input"},
        TRejectedCase{"OptionsOnly", {"-q", "--time-stamps"}, "no input"},
        TRejectedCase{"UnknownOption", {"--frobnicate", "a.gpx"}, "--frobnicate"},
        TRejectedCase{"UnknownProfile", {"--profile", "kml22", "a.gpx"}, "classic, earth or web, not 'kml22'"},
        TRejectedCase{"UnknownAltitude", {"--altitude=sea", "a.gpx"}, "clamp, relative or absolute"},
        TRejectedCase{"LineWidthNotANumber", {"--line-width", "4px", "a.gpx"}, "--line-width"},
        TRejectedCase{"LineWidthZero", {"--line-width=0", "a.gpx"}, "--line-width"},
        TRejectedCase{"UnknownUnits", {"--units", "nautical", "a.gpx"}, "metric or imperial"},
        TRejectedCase{"OutputWithoutValue", {"a.gpx", "-o"}, "-o"},
        TRejectedCase{"OutputEmpty", {"--output=", "a.gpx"}, "-o"},
        TRejectedCase{"OutputForTwoInputs", {"-o", "x.kmz", "a.gpx", "b.gpx"}, "one input"},
        TRejectedCase{"OutputAndDirectory", {"-o", "x.kmz", "-d", "out", "a.gpx"}, "-d"},
        TRejectedCase{"UnknownFormat", {"--format", "gpx", "a.gpx"}, "kml or kmz"},
        TRejectedCase{"FormatCaseCounts", {"--format=KML", "a.gpx"}, "kml or kmz"},
        TRejectedCase{"FormatAgainstKmzName", {"--format", "kml", "-o", "out.KMZ", "a.gpx"},
                      "--format kml contradicts the output name out.KMZ"},
        TRejectedCase{"FormatAgainstKmlName", {"--format=kmz", "-o", "out.Kml", "a.gpx"}, "out.Kml"},
        TRejectedCase{"ZeroJobs", {"-j", "0", "a.gpx"}, "-j"},
        TRejectedCase{"JobsNotANumber", {"-j", "many", "a.gpx"}, "-j"},
        TRejectedCase{"JobsWithJunk", {"-j2x", "a.gpx"}, "-j"},
        TRejectedCase{"NegativeJobs", {"--jobs=-1", "a.gpx"}, "-j"},
        TRejectedCase{"InfoWithConversionOption", {"--info", "-o", "x.kml", "a.gpx"}, "--info"},
        TRejectedCase{"InfoWithoutFiles", {"--info"}, "no input"},
        TRejectedCase{"AmbiguousPrefix", {"--no", "a.gpx"}, "ambiguous"},
        TRejectedCase{"AmbiguousValueOption", {"--out", "x.kml", "a.gpx"}, "ambiguous"},
        TRejectedCase{"UnknownInBundle", {"-qx", "a.gpx"}, "-x"},
        TRejectedCase{"FlagGivenAValue", {"--quiet=yes", "a.gpx"}, "takes no value"},
        TRejectedCase{"BundleValueMissing", {"a.gpx", "-qj"}, "-j"},
        TRejectedCase{"StandardInputTwice", {"-", "-"}, "only input"},
        TRejectedCase{"StandardInputAmongFiles", {"a.gpx", "-"}, "only input"},
        TRejectedCase{"StandardInputWithDirectory", {"-d", "out", "-"}, "-d"}),
    test::TRowName());

}  // namespace
}  // namespace tarvola::cli
