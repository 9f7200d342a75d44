#include "gps/iso8601.h"

#include <cstdio>
#include <cstdlib>

#include "gps/calendar.h"
#include "gps/user_format.h"

namespace tarvola::gps {

namespace {

// Blanks may stand before every number and separator and at the end of a part. Numbers are read
// digit by digit while the value is below 1000; a digit left over makes the part unreadable.
class TScanner {
public:
  explicit TScanner(std::string_view text) : FText(text) {}

  bool ReadNumber(int& value, int& digits) {
    SkipBlanks();
    value = 0;
    digits = 0;
    while (FPos < FText.size() && IsDigit(FText[FPos]) && value < 1000) {
      value = value * 10 + (FText[FPos++] - '0');
      ++digits;
    }
    return digits > 0 && !(FPos < FText.size() && IsDigit(FText[FPos]));
  }

  bool ReadNumber(int& value) {
    int digits = 0;
    return ReadNumber(value, digits);
  }

  bool Accept(char separator) {
    SkipBlanks();
    if (FPos < FText.size() && FText[FPos] == separator) {
      ++FPos;
      return true;
    }
    return false;
  }

  bool AtEnd() {
    SkipBlanks();
    return FPos == FText.size();
  }

private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  void SkipBlanks() {
    while (FPos < FText.size() && FText[FPos] == ' ') ++FPos;
  }

  std::string_view FText;
  std::size_t FPos = 0;
};

int WindowedYear(int written, int currentYear) {
  int start = currentYear - 50;
  int year = start / 100 * 100 + written;
  return year < start ? year + 100 : year;
}

// year-month-day or month-day, one trailing "-" allowed; the days since the epoch.
std::optional<long> ReadDate(std::string_view part, TLocalClock& clock) {
  TScanner scan(part);
  int numbers[3] = {};
  int yearDigits = 0;
  int count = 0;
  if (!scan.ReadNumber(numbers[0], yearDigits)) return std::nullopt;
  count = 1;
  while (scan.Accept('-')) {
    if (scan.AtEnd()) break;
    if (count == 3 || !scan.ReadNumber(numbers[count])) return std::nullopt;
    ++count;
  }
  if (!scan.AtEnd()) return std::nullopt;
  if (count == 2) return EncodeDate(clock.CurrentYear(), numbers[0], numbers[1]);
  if (count != 3) return std::nullopt;
  int year = yearDigits <= 2 ? WindowedYear(numbers[0], clock.CurrentYear()) : numbers[0];
  return EncodeDate(year, numbers[1], numbers[2]);
}

// hours[:minutes[:seconds[.fraction]]]; the milliseconds into the day.
std::optional<long> ReadTime(std::string_view part) {
  TScanner scan(part);
  int hours = 0, minutes = 0, seconds = 0, fraction = 0;
  if (!scan.ReadNumber(hours)) return std::nullopt;
  if (scan.Accept(':')) {
    if (!scan.ReadNumber(minutes)) return std::nullopt;
    if (scan.Accept(':')) {
      if (!scan.ReadNumber(seconds)) return std::nullopt;
      if (scan.Accept('.') && !scan.ReadNumber(fraction)) return std::nullopt;
    }
  }
  if (!scan.AtEnd() || hours >= 24 || minutes >= 60 || seconds >= 60 || fraction >= 1000)
    return std::nullopt;
  return ((hours * 60L + minutes) * 60L + seconds) * 1000L + fraction;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "+hh:mm" or "-hh:mm" (the separator not examined), "z", or anything else for the machine's
// offset. A six-character zone with something other than digits for its hours or minutes is
// no zone we can trust, and a stamp with an invented offset would be wrong data: nullopt.
std::optional<std::int16_t> ReadZone(std::string_view zone, TLocalClock& clock) {
  if (zone.size() == 1 && (zone[0] == 'z' || zone[0] == 'Z')) return 0;
  if (zone.size() != 6) return clock.ZoneOffset();
  if (!IsDigit(zone[1]) || !IsDigit(zone[2]) || !IsDigit(zone[4]) || !IsDigit(zone[5]))
    return std::nullopt;
  int minutes =
      ((zone[1] - '0') * 10 + (zone[2] - '0')) * 60 + (zone[4] - '0') * 10 + (zone[5] - '0');
  return static_cast<std::int16_t>(zone[0] == '-' ? -minutes : minutes);
}

std::size_t FindAnyCase(std::string_view text, char lower) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] == lower || text[i] == lower - ('a' - 'A')) return i;
  return std::string_view::npos;
}

}  // namespace

double TLocalClock::Now() {
  if (!FNow) FNow = NowLocalDateTime();
  return *FNow;
}

int TLocalClock::CurrentYear() {
  auto parts = SplitDateTime(Now());
  return parts ? parts->Year : 2000;
}

std::int16_t TLocalClock::ZoneOffset() {
  if (!FZoneOffset) FZoneOffset = LocalZoneOffset();
  return *FZoneOffset;
}

TDateTimeZ Iso8601ToDateTimeZ(std::string_view text) {
  TLocalClock clock;
  return Iso8601ToDateTimeZ(text, clock);
}

TDateTimeZ Iso8601ToDateTimeZ(std::string_view text, TLocalClock& clock) {
  TDateTimeZ result;
  if (text.empty()) return result;

  std::size_t t = FindAnyCase(text, 't');
  std::string_view datePart = text.substr(0, t);
  std::string_view rest = t == std::string_view::npos ? std::string_view() : text.substr(t + 1);

  long days = 0;
  if (!datePart.empty()) {
    auto date = ReadDate(datePart, clock);
    if (!date) return result;
    days = *date;
  }
  if (rest.empty()) return result;

  std::size_t zone = FindAnyCase(rest, 'z');
  if (zone == std::string_view::npos) zone = rest.find('+');
  if (zone == std::string_view::npos) zone = rest.find('-');
  std::string_view timePart = rest.substr(0, zone);
  std::string_view zonePart =
      zone == std::string_view::npos ? std::string_view() : rest.substr(zone);

  auto time = ReadTime(timePart);
  if (!time) return result;
  if (datePart.empty()) days = static_cast<long>(clock.Now());

  auto zoneOffset = ReadZone(zonePart, clock);
  if (!zoneOffset) return result;
  result.TimeZone = *zoneOffset;
  result.DateTime = ComposeDateTime(days, *time);
  result.Exists = true;
  return result;
}

std::string DateTimeZToIso8601(const TDateTimeZ& value) {
  if (!value.Exists) return {};
  auto p = SplitDateTime(value.DateTime);
  if (!p) return {};
  char buffer[64];
  int zone = value.TimeZone;
  if (zone == 0) {
    std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2dT%.2d:%.2d:%.2dZ", p->Year, p->Month,
                  p->Day, p->Hour, p->Minute, p->Second);
  } else {
    int absolute = std::abs(zone);
    std::snprintf(buffer, sizeof buffer, "%.4d-%.2d-%.2dT%.2d:%.2d:%.2d%c%.2d:%.2d", p->Year,
                  p->Month, p->Day, p->Hour, p->Minute, p->Second, zone > 0 ? '+' : '-',
                  absolute / 60, absolute % 60);
  }
  return buffer;
}

std::string DateTimeZToXsd(TDateTimeZ value) {
  // xsd:dateTime allows zones up to 14 hours; a stamp beyond that says the same in UTC.
  if (std::abs(int(value.TimeZone)) > 14 * 60) {
    value.DateTime -= value.TimeZone / 1440.0;
    value.TimeZone = 0;
  }
  std::string text = DateTimeZToIso8601(value);
  const auto p = SplitDateTime(value.DateTime);
  if (!p || p->Millisecond == 0 || text.size() < 19) return text;
  char fraction[8];
  std::snprintf(fraction, sizeof fraction, ".%.3d", p->Millisecond);
  text.insert(19, fraction);
  return text;
}

std::string ZoneOffsetText(std::int16_t minutes) {
  if (minutes == 0) return "GMT";
  int absolute = std::abs(static_cast<int>(minutes));
  const char* sign = minutes > 0 ? "+" : "-";
  char buffer[32];
  if (absolute % 60 == 0)
    std::snprintf(buffer, sizeof buffer, "GMT%s%.1d", sign, absolute / 60);
  else
    std::snprintf(buffer, sizeof buffer, "GMT%s%.1d:%.2d", sign, absolute / 60, absolute % 60);
  return buffer;
}

std::string DateTimeZToText(const TDateTimeZ& value, bool withZone) {
  if (!value.Exists) return {};
  std::string text = UserDateTimeText(value.DateTime, false);
  if (text.empty()) return text;
  if (withZone) text += " " + ZoneOffsetText(value.TimeZone);
  return text;
}

}  // namespace tarvola::gps
