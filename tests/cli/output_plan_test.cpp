#include "cli/output_plan.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

TCliOptions Parsed(const std::vector<std::string>& args) {
  std::vector<std::string_view> views(args.begin(), args.end());
  TParseResult parsed = ParseCommandLine(views);
  EXPECT_TRUE(parsed.Ok()) << parsed.Error;
  return parsed.Options;
}

struct TTypeCase {
  std::string Name;
  std::vector<std::string> Args;
  kml::TKmlFileType Expected;
};

void PrintTo(const TTypeCase& row, std::ostream* out) { *out << row.Name; }

class OutputType : public testing::TestWithParam<TTypeCase> {};

TEST_P(OutputType, FollowsTheExtensionThenFormat) {
  EXPECT_EQ(OutputTypeFor(Parsed(GetParam().Args)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputType,
    testing::Values(
        TTypeCase{"DefaultIsKmz", {"a.gpx"}, kml::TKmlFileType::Kmz},
        TTypeCase{"KmlExtension", {"-o", "x.kml", "a.gpx"}, kml::TKmlFileType::Kml},
        TTypeCase{"KmlExtensionInCapitals", {"-o", "X.KML", "a.gpx"}, kml::TKmlFileType::Kml},
        TTypeCase{"KmzExtension", {"-o", "x.kmz", "a.gpx"}, kml::TKmlFileType::Kmz},
        TTypeCase{"OtherExtensionIsKmz", {"-o", "x.zip", "a.gpx"}, kml::TKmlFileType::Kmz},
        TTypeCase{"NoExtensionIsKmz", {"-o", "x", "a.gpx"}, kml::TKmlFileType::Kmz},
        TTypeCase{"KmzExtensionWithItsFormat", {"--format", "kmz", "-o", "x.Kmz", "a.gpx"},
                  kml::TKmlFileType::Kmz},
        TTypeCase{"FormatForAnotherExtension", {"--format", "kml", "-o", "x.xml", "a.gpx"},
                  kml::TKmlFileType::Kml},
        TTypeCase{"FormatWithoutOutput", {"--format", "kml", "a.gpx"}, kml::TKmlFileType::Kml}),
    test::TRowName());

struct TPathCase {
  std::string Name;
  std::vector<std::string> Args;
  std::vector<std::string> Outputs;
};

void PrintTo(const TPathCase& row, std::ostream* out) { *out << row.Name; }

class OutputPath : public testing::TestWithParam<TPathCase> {};

TEST_P(OutputPath, IsBesideTheInputUnlessToldOtherwise) {
  const std::vector<TPlannedConversion> plans = PlanConversions(Parsed(GetParam().Args));
  std::vector<std::string> outputs;
  for (const TPlannedConversion& plan : plans) {
    EXPECT_EQ(plan.Refusal, "");
    outputs.push_back(plan.Output.generic_string());
  }
  EXPECT_EQ(outputs, GetParam().Outputs);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OutputPath,
    testing::Values(
        TPathCase{"Beside", {"trips/alps.gpx", "b.GPX"}, {"trips/alps.kmz", "b.kmz"}},
        TPathCase{"BesideAsKml", {"--format", "kml", "trips/alps.gpx"}, {"trips/alps.kml"}},
        TPathCase{"OnlyTheLastExtensionGoes", {"my.trip.gpx"}, {"my.trip.kmz"}},
        TPathCase{"NoExtension", {"trips/alps"}, {"trips/alps.kmz"}},
        TPathCase{"IntoDirectory", {"-d", "out", "trips/alps.gpx", "b.gpx"}, {"out/alps.kmz", "out/b.kmz"}},
        TPathCase{"Explicit", {"-o", "elsewhere/x.kml", "trips/alps.gpx"}, {"elsewhere/x.kml"}}),
    test::TRowName());

TEST(PlanConversions, RefusesTheInputItselfHoweverItIsNamed) {
  test::TTempFolder folder;
  fs::create_directory(folder.File("sub"));
  const fs::path input = folder.File("trip.gpx");
  test::WriteFile(input, "<gpx/>");
  fs::create_hard_link(input, folder.File("hard.kml"));

  std::vector<std::vector<std::string>> commands = {
      {"-o", input.string(), input.string()},
      {"-o", (folder.Path() / "sub" / ".." / "trip.gpx").string(), input.string()},
      {"-o", folder.File("hard.kml").string(), input.string()},
  };
#ifndef _WIN32
  // MinGW's library makes no symbolic links.
  fs::create_symlink(input, folder.File("link.kml"));
  commands.push_back({"-o", folder.File("link.kml").string(), input.string()});
#endif
  for (const auto& args : commands) {
    const std::vector<TPlannedConversion> plans = PlanConversions(Parsed(args));
    ASSERT_EQ(plans.size(), 1u);
    EXPECT_NE(plans[0].Refusal.find("input file"), std::string::npos) << args[1];
  }
}

TEST(PlanConversions, RefusesAnInputWhoseDefaultOutputIsItself) {
  test::TTempFolder folder;
  const fs::path input = folder.File("trip.kmz");  // a GPX file under the output's name
  test::WriteFile(input, "<gpx/>");
  const std::vector<TPlannedConversion> plans = PlanConversions(Parsed({input.string()}));
  ASSERT_EQ(plans.size(), 1u);
  EXPECT_NE(plans[0].Refusal.find("input file"), std::string::npos);
}

TEST(PlanConversions, RefusesAnOutputThatIsAnotherInput) {
  test::TTempFolder folder;
  test::WriteFile(folder.File("a.gpx"), "<gpx/>");
  test::WriteFile(folder.File("a.kmz"), "<gpx/>");
  const std::vector<TPlannedConversion> plans =
      PlanConversions(Parsed({folder.File("a.gpx").string(), folder.File("a.kmz").string()}));
  ASSERT_EQ(plans.size(), 2u);
  EXPECT_NE(plans[0].Refusal.find("input file"), std::string::npos);
  EXPECT_NE(plans[1].Refusal.find("input file"), std::string::npos);
}

TEST(PlanConversions, RefusesALaterInputWithTheSameOutput) {
  test::TTempFolder folder;
  const std::vector<TPlannedConversion> plans = PlanConversions(
      Parsed({"-d", folder.Path().string(), "one/trip.gpx", "two/trip.gpx", "./one/trip.gpx"}));
  ASSERT_EQ(plans.size(), 3u);
  EXPECT_EQ(plans[0].Refusal, "");
  EXPECT_NE(plans[1].Refusal.find("one/trip.gpx"), std::string::npos) << plans[1].Refusal;
  EXPECT_NE(plans[2].Refusal.find("one/trip.gpx"), std::string::npos) << plans[2].Refusal;
}

TEST(PlanConversions, RefusesAFolderAsOutput) {
  test::TTempFolder folder;
  const std::vector<TPlannedConversion> plans =
      PlanConversions(Parsed({"-o", folder.Path().string(), "trip.gpx"}));
  ASSERT_EQ(plans.size(), 1u);
  EXPECT_NE(plans[0].Refusal.find("folder"), std::string::npos);
}

}  // namespace
}  // namespace tarvola::cli
