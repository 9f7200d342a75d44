#include "gps/user_format.h"

#include <vector>

#include "gps/calendar.h"
#include "gps/user_format_platform.h"

namespace tarvola::gps {

namespace {

// Splits a strftime format into "%X" conversions and single literal characters, with %T (and,
// when given, %r) written out so that their seconds can be found.
void AppendTokens(const char* format, const char* amPmFormat, std::vector<std::string>& tokens) {
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 'T') {
      for (const char* t : {"%H", ":", "%M", ":", "%S"}) tokens.emplace_back(t);
      ++p;
    } else if (p[0] == '%' && p[1] == 'r' && amPmFormat != nullptr) {
      AppendTokens(amPmFormat, nullptr, tokens);
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

std::string ShortTimeFormat(const char* longFormat, const char* amPmFormat) {
  std::vector<std::string> tokens;
  AppendTokens(longFormat, amPmFormat, tokens);
  std::string format;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    bool beforeSeconds = i + 1 < tokens.size() && tokens[i + 1] == "%S" && tokens[i][0] != '%';
    if (tokens[i] != "%S" && !beforeSeconds) format += tokens[i];
  }
  return format;
}

double NowLocalDateTime() {
  auto now = LocalNowParts();
  if (!now) return 0.0;
  auto days = EncodeDate(now->Year, now->Month, now->Day);
  long ms = ((now->Hour * 60L + now->Minute) * 60L + now->Second) * 1000L + now->Millisecond;
  return days ? ComposeDateTime(*days, ms) : 0.0;
}

std::string UserDateTimeText(double dateTime, bool longTime) {
  auto parts = SplitDateTime(dateTime);
  if (!parts) return {};
  return FormatUserDate(*parts) + " " + FormatUserTime(*parts, longTime);
}

}  // namespace tarvola::gps
