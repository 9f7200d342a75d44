#include <windows.h>

#include "gps/user_format_platform.h"
#include "io/wide_text.h"

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

// The text the system formatted, without its terminating NUL; empty when formatting failed.
std::string FormattedText(const wchar_t* buffer, int length) {
  if (length <= 1) return {};
  return io::Utf8OfWide(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)));
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
  return FormattedText(buffer, length);
}

std::string FormatUserTime(const TDateTimeParts& parts, bool longTime) {
  SYSTEMTIME time = ToSystemTime(parts);
  wchar_t buffer[128];
  int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, longTime ? 0 : TIME_NOSECONDS, &time, nullptr, buffer, 128);
  return FormattedText(buffer, length);
}

}  // namespace tarvola::gps
