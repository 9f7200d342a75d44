#include <langinfo.h>

#include <ctime>

#include "gps/user_format.h"
#include "gps/user_format_platform.h"

namespace tarvola::gps {

namespace {

std::string Format(const TDateTimeParts& parts, const std::string& format) {
  std::tm tm{};
  tm.tm_year = parts.Year - 1900;
  tm.tm_mon = parts.Month - 1;
  tm.tm_mday = parts.Day;
  tm.tm_hour = parts.Hour;
  tm.tm_min = parts.Minute;
  tm.tm_sec = parts.Second;
  tm.tm_wday = parts.DayOfWeek;
  tm.tm_yday = parts.DayOfYear;
  tm.tm_isdst = -1;
  char buffer[256];
  std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
  return std::string(buffer, length);
}

}  // namespace

std::optional<TDateTimeParts> LocalNowParts() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  std::tm local{};
  if (localtime_r(&now.tv_sec, &local) == nullptr) return std::nullopt;
  TDateTimeParts parts;
  parts.Year = local.tm_year + 1900;
  parts.Month = local.tm_mon + 1;
  parts.Day = local.tm_mday;
  parts.Hour = local.tm_hour;
  parts.Minute = local.tm_min;
  parts.Second = local.tm_sec;
  parts.Millisecond = static_cast<int>(now.tv_nsec / 1'000'000);
  return parts;
}

// The formats come from the C library's LC_TIME locale, which the programs set at start.
std::string FormatUserDate(const TDateTimeParts& parts) { return Format(parts, nl_langinfo(D_FMT)); }

std::string FormatUserTime(const TDateTimeParts& parts, bool longTime) {
  const char* longFormat = nl_langinfo(T_FMT);
  return Format(parts, longTime ? longFormat : ShortTimeFormat(longFormat, nl_langinfo(T_FMT_AMPM)));
}

}  // namespace tarvola::gps
