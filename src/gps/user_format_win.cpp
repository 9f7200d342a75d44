#ifdef _WIN32

#include <windows.h>

#include "gps/user_format_platform.h"

namespace tarvola::gps {

namespace {

SYSTEMTIME ToSystemTime(const TDateTimeParts& parts) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(parts.Year);
  time.wMonth = static_cast<WORD>(parts.Month);
  time.wDay = static_cast<WORD>(parts.Day);
  time.wDayOfWeek = static_cast<WORD>(parts.DayOfWeek);
  time.wHour = static_cast<WORD>(parts.Hour);
  time.wMinute = static_cast<WORD>(parts.Minute);
  time.wSecond = static_cast<WORD>(parts.Second);
  return time;
}

std::string ToUtf8(const wchar_t* text, int length) {
  if (length <= 0) return {};
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), bytes, nullptr, nullptr);
  return result;
}

}  // namespace

std::optional<TDateTimeParts> LocalNowParts() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  TDateTimeParts parts;
  parts.Year = now.wYear;
  parts.Month = now.wMonth;
  parts.Day = now.wDay;
  parts.Hour = now.wHour;
  parts.Minute = now.wMinute;
  parts.Second = now.wSecond;
  parts.Millisecond = now.wMilliseconds;
  return parts;
}

std::string FormatUserDate(const TDateTimeParts& parts) {
  SYSTEMTIME time = ToSystemTime(parts);
  wchar_t buffer[128];
  int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, buffer, 128, nullptr);
  return ToUtf8(buffer, length - 1);
}

std::string FormatUserTime(const TDateTimeParts& parts, bool longTime) {
  SYSTEMTIME time = ToSystemTime(parts);
  wchar_t buffer[128];
  int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, longTime ? 0 : TIME_NOSECONDS, &time, nullptr, buffer, 128);
  return ToUtf8(buffer, length - 1);
}

}  // namespace tarvola::gps

#endif
