#include "io/file_time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "test_support.h"

namespace tarvola::io {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void SetModified(const fs::path& path, std::chrono::system_clock::time_point moment) {
  fs::last_write_time(path, std::chrono::file_clock::from_sys(moment));
}

struct TWriteTimeRow {
  const char* Name;
  std::chrono::milliseconds SinceEpoch;
  std::time_t Expected;
};

class LastWriteSecond : public testing::TestWithParam<TWriteTimeRow> {};

// Whole seconds, the fraction dropped, as ZIP's two-second steps are taken from them.
TEST_P(LastWriteSecond, IsTheWholeSecondOfTheLastWrite) {
  tarvola::test::TTempFolder folder;
  tarvola::test::WriteFile(folder.File("f"), "x");
  SetModified(folder.File("f"), std::chrono::system_clock::time_point(GetParam().SinceEpoch));
  const std::optional<std::time_t> written = LastWriteTime(folder.File("f"));
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, LastWriteSecond,
    testing::Values(TWriteTimeRow{"WholeSecond", 1'700'000'000'000ms, 1'700'000'000},
                    TWriteTimeRow{"FractionDropped", 1'700'000'000'999ms, 1'700'000'000},
                    TWriteTimeRow{"Year1980", 315'532'800'500ms, 315'532'800},
                    TWriteTimeRow{"Year2100", 4'102'444'800'250ms, 4'102'444'800}),
    test::TRowName());

TEST(LastWriteTimeOf, MissingFileGivesNothing) {
  tarvola::test::TTempFolder folder;
  EXPECT_FALSE(LastWriteTime(folder.File("none")).has_value());
}

TEST(LastWriteTimeOf, FolderHasOne) {
  tarvola::test::TTempFolder folder;
  EXPECT_TRUE(LastWriteTime(folder.Path()).has_value());
}

// Local and universal time differ by a whole number of quarter hours, whatever the zone.
TEST(LocalTimeOf, DiffersFromUniversalTimeByTheZoneOnly) {
  const std::time_t moment = 1'700'000'000;  // 2023-11-14 22:13:20 UTC
  std::tm local{};
  ASSERT_TRUE(LocalTimeOf(moment, local));
  using namespace std::chrono;
  const sys_days day{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
  const sys_seconds asIfUtc = day + hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
  const seconds offset = asIfUtc - sys_seconds{seconds{moment}};
  EXPECT_EQ(offset.count() % 900, 0) << offset.count();
  EXPECT_LE(std::abs(offset.count()), 14 * 3600) << offset.count();
}

}  // namespace
}  // namespace tarvola::io
