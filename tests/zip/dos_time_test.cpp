#include "zip/dos_time.h"

#include <gtest/gtest.h>

#include <chrono>

#include "test_support.h"

namespace tarvola::zip {
namespace {

// Days since 1899-12-30 of a calendar day, plus the time of day.
double DateTimeOf(int y, unsigned m, unsigned d, int hour, int minute, double second) {
  using namespace std::chrono;
  const auto days = sys_days{year{y} / m / d} - sys_days{year{1899} / December / 30};
  return static_cast<double>(days.count()) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

std::uint32_t Stamp(int y, unsigned m, unsigned d, unsigned hour, unsigned minute, unsigned second) {
  return static_cast<std::uint32_t>(y - 1980) << 25 | m << 21 | d << 16 | hour << 11 | minute << 5 | second / 2;
}

struct TStampRow {
  const char* Name;
  double DateTime;
  std::uint32_t Expected;
};

class DosStamp : public testing::TestWithParam<TStampRow> {};

TEST_P(DosStamp, Encodes) { EXPECT_EQ(DateTimeToDosStamp(GetParam().DateTime), GetParam().Expected); }

INSTANTIATE_TEST_SUITE_P(
    Moments, DosStamp,
    testing::Values(TStampRow{"FirstMoment", DateTimeOf(1980, 1, 1, 0, 0, 0), Stamp(1980, 1, 1, 0, 0, 0)},
                    TStampRow{"OddSecondsHalve", DateTimeOf(2024, 7, 15, 13, 45, 31), Stamp(2024, 7, 15, 13, 45, 30)},
                    TStampRow{"EndOfDay", DateTimeOf(1999, 12, 31, 23, 59, 59), Stamp(1999, 12, 31, 23, 59, 58)},
                    TStampRow{"LeapDay", DateTimeOf(2000, 2, 29, 12, 0, 0), Stamp(2000, 2, 29, 12, 0, 0)},
                    TStampRow{"LastYear", DateTimeOf(2107, 12, 31, 23, 59, 58), Stamp(2107, 12, 31, 23, 59, 58)},
                    TStampRow{"AlmostNextSecond", DateTimeOf(2010, 3, 4, 5, 6, 7.9999999), Stamp(2010, 3, 4, 5, 6, 8)},
                    TStampRow{"Before1980", DateTimeOf(1979, 12, 31, 23, 59, 59), 0},
                    TStampRow{"After2107", DateTimeOf(2108, 1, 1, 0, 0, 0), 0},
                    TStampRow{"NotFound", -1.0, 0}),
    test::TRowName());

TEST(FileModifiedStamp, MissingFileGivesMinusOne) {
  tarvola::test::TTempFolder folder;
  EXPECT_EQ(FileModifiedStamp(folder.File("none")), -1.0);
}

TEST(FileModifiedStamp, IsTheLocalLastWriteTime) {
  tarvola::test::TTempFolder folder;
  tarvola::test::WriteFile(folder.File("f"), "x");
  const std::time_t moment = 1'700'000'000;  // 2023-11-14 22:13:20 UTC
  const auto when = std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(moment));
  std::filesystem::last_write_time(folder.File("f"), when);
  std::tm local{};
#ifdef _WIN32
  ASSERT_EQ(localtime_s(&local, &moment), 0);
#else
  ASSERT_NE(localtime_r(&moment, &local), nullptr);
#endif
  const double expected = DateTimeOf(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                                     static_cast<unsigned>(local.tm_mday), local.tm_hour, local.tm_min, local.tm_sec);
  EXPECT_NEAR(FileModifiedStamp(folder.File("f")), expected, 1e-9);
}

}  // namespace
}  // namespace tarvola::zip
