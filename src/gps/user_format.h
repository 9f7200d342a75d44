#pragma once

#include <string>

namespace tarvola::gps {

// The local date and time now, as a day count since 1899-12-30 (the TDateTimeZ scale).
double NowLocalDateTime();

// `dateTime` in the user's regional formats: the short date, one blank, then the short time
// (hours and minutes) or, with longTime, the long time (with seconds).
std::string UserDateTimeText(double dateTime, bool longTime);

}  // namespace tarvola::gps
