#pragma once

#include <string>

namespace tarvola::gps {

// The local date and time now, as a day count since 1899-12-30 (the TDateTimeZ scale).
double NowLocalDateTime();

// `dateTime` in the user's regional formats: the short date, one blank, then the short time
// (hours and minutes) or, with longTime, the long time (with seconds).
std::string UserDateTimeText(double dateTime, bool longTime);

// A strftime time format without its seconds: "%H:%M:%S" becomes "%H:%M", "%I:%M:%S %p"
// becomes "%I:%M %p" (%T, and %r as `amPmFormat` when given, are written out first). The
// separator before the seconds goes with them.
std::string ShortTimeFormat(const char* longFormat, const char* amPmFormat = nullptr);

}  // namespace tarvola::gps
