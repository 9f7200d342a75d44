#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvola::gps {

// A time stamp as written in a file: the clock time in its own zone, never converted.
struct TDateTimeZ {
  double DateTime = 0.0;       // days since 1899-12-30, fraction = time of day (ms resolution)
  std::int16_t TimeZone = 0;   // minutes east of UTC
  bool Exists = false;         // false: the other two fields mean nothing
};

TDateTimeZ Iso8601ToDateTimeZ(std::string_view text);
std::string DateTimeZToIso8601(const TDateTimeZ& value);
std::string DateTimeZToText(const TDateTimeZ& value, bool withZone);
std::string ZoneOffsetText(std::int16_t minutes);
std::int16_t LocalZoneOffset();

}  // namespace tarvola::gps
