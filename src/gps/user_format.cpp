#include "gps/user_format.h"

#include <langinfo.h>

#include <ctime>
#include <vector>

#include "gps/calendar.h"

namespace tarvola::gps {

namespace {

// Splits a strftime format into "%X" conversions and single literal characters, with %T and %r
// written out so that their seconds can be found.
void AppendTokens(const char* format, std::vector<std::string>& tokens, bool expandAmPm) {
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 'T') {
      for (const char* t : {"%H", ":", "%M", ":", "%S"}) tokens.emplace_back(t);
      ++p;
    } else if (p[0] == '%' && p[1] == 'r' && expandAmPm) {
      AppendTokens(nl_langinfo(T_FMT_AMPM), tokens, false);
      ++p;
    } else if (p[0] == '%' && p[1] != 0) {
      tokens.emplace_back(p, 2);
      ++p;
    } else {
      tokens.emplace_back(p, 1);
    }
  }
}

}  // namespace

std::string ShortTimeFormat(const char* longFormat) {
  std::vector<std::string> tokens;
  AppendTokens(longFormat, tokens, true);
  std::string format;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    bool beforeSeconds = i + 1 < tokens.size() && tokens[i + 1] == "%S" && tokens[i][0] != '%';
    if (tokens[i] != "%S" && !beforeSeconds) format += tokens[i];
  }
  return format;
}

double NowLocalDateTime() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  std::tm local{};
  if (localtime_r(&now.tv_sec, &local) == nullptr) return 0.0;
  auto days = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  long ms =
      ((local.tm_hour * 60L + local.tm_min) * 60L + local.tm_sec) * 1000L + now.tv_nsec / 1'000'000;
  return days ? ComposeDateTime(*days, ms) : 0.0;
}

std::string UserDateTimeText(double dateTime, bool longTime) {
  auto parts = SplitDateTime(dateTime);
  if (!parts) return {};
  std::tm tm{};
  tm.tm_year = parts->Year - 1900;
  tm.tm_mon = parts->Month - 1;
  tm.tm_mday = parts->Day;
  tm.tm_hour = parts->Hour;
  tm.tm_min = parts->Minute;
  tm.tm_sec = parts->Second;
  tm.tm_wday = parts->DayOfWeek;
  tm.tm_yday = parts->DayOfYear;
  tm.tm_isdst = -1;
  std::string format =
      std::string(nl_langinfo(D_FMT)) + " " +
      (longTime ? std::string(nl_langinfo(T_FMT)) : ShortTimeFormat(nl_langinfo(T_FMT)));
  char buffer[256];
  std::size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
  return std::string(buffer, length);
}

}  // namespace tarvola::gps
