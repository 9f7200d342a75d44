#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvola::gps {

// A time stamp as written in a file: the clock time in its own zone, never converted.
struct TDateTimeZ {
  double DateTime = 0.0;       // days since 1899-12-30, fraction = time of day (ms resolution)
  std::int16_t TimeZone = 0;   // minutes east of UTC
  bool Exists = false;         // false: the other two fields mean nothing
};

// The machine's "now" as a parse needs it: looked up on first use only, so that a whole file
// of stamps with zones and full dates never asks the system at all.
class TLocalClock {
public:
  double Now();               // local date and time, TDateTimeZ scale
  int CurrentYear();
  std::int16_t ZoneOffset();  // LocalZoneOffset()

private:
  std::optional<double> FNow;
  std::optional<std::int16_t> FZoneOffset;
};

TDateTimeZ Iso8601ToDateTimeZ(std::string_view text);
// The same, reusing `clock` across many calls (the GPX reader keeps one per file).
TDateTimeZ Iso8601ToDateTimeZ(std::string_view text, TLocalClock& clock);
std::string DateTimeZToIso8601(const TDateTimeZ& value);
// The same as an xsd:dateTime that keeps the milliseconds.
std::string DateTimeZToXsd(TDateTimeZ value);
std::string DateTimeZToText(const TDateTimeZ& value, bool withZone);
std::string ZoneOffsetText(std::int16_t minutes);
std::int16_t LocalZoneOffset();

}  // namespace tarvola::gps
