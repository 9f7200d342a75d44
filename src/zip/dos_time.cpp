#include "zip/dos_time.h"

#include <chrono>
#include <cmath>

#include "io/file_time.h"

namespace tarvola::zip {

namespace {

using namespace std::chrono;

constexpr sys_days DateTimeEpoch = sys_days{year{1899} / December / 30};
constexpr std::int64_t MsPerDay = 86'400'000;

}  // namespace

double LocalDateTimeOf(std::time_t moment) {
  std::tm local{};
  if (!io::LocalTimeOf(moment, local)) return -1.0;
  const sys_days day = sys_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
  const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
  return static_cast<double>((day - DateTimeEpoch).count()) + seconds / 86400.0;
}

double FileModifiedStamp(const std::filesystem::path& path) {
  const std::optional<std::time_t> written = io::LastWriteTime(path);
  return written ? LocalDateTimeOf(*written) : -1.0;
}

std::uint32_t DateTimeToDosStamp(double dateTime) {
  if (!std::isfinite(dateTime) || std::fabs(dateTime) > 3.0e6) return 0;
  // Whole milliseconds first, so that 0.999999 of a second does not fall to the second before.
  const auto ms = static_cast<std::int64_t>(std::llround(dateTime * MsPerDay));
  const std::int64_t days = ms >= 0 ? ms / MsPerDay : -((-ms + MsPerDay - 1) / MsPerDay);
  const std::int64_t msOfDay = ms - days * MsPerDay;
  const year_month_day date{DateTimeEpoch + std::chrono::days{days}};
  const int y = static_cast<int>(date.year());
  if (y < 1980 || y > 2107) return 0;
  const auto secondOfDay = static_cast<std::uint32_t>(msOfDay / 1000);
  const std::uint32_t hour = secondOfDay / 3600, minute = secondOfDay / 60 % 60, second = secondOfDay % 60;
  const std::uint32_t dosDate = static_cast<std::uint32_t>(y - 1980) << 9 |
                                static_cast<unsigned>(date.month()) << 5 | static_cast<unsigned>(date.day());
  const std::uint32_t dosTime = hour << 11 | minute << 5 | second / 2;
  return dosDate << 16 | dosTime;
}

}  // namespace tarvola::zip
