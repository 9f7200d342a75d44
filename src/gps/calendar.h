#pragma once

#include <optional>

namespace tarvola::gps {

// The day-count scale of TDateTimeZ: whole days since 1899-12-30, the fraction the time of day.
// Before the epoch the value is negative and the fraction still counts forwards from midnight
// (-1.25 is 1899-12-29 06:00), so the whole days and the time of day are split apart by sign.

struct TDateTimeParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
  int DayOfWeek = 0;  // 0 = Sunday
  int DayOfYear = 0;  // 0 = 1 January
};

bool IsValidDate(int year, int month, int day);
// Days since 1899-12-30 of a date in years 1 to 9999; nullopt for a date not in the calendar.
std::optional<long> EncodeDate(int year, int month, int day);
// `days` whole days plus `milliseconds` into the day, on the signed scale described above.
double ComposeDateTime(long days, long milliseconds);
// Nullopt when the value lies outside years 1 to 9999 or is not a number.
std::optional<TDateTimeParts> SplitDateTime(double dateTime);

}  // namespace tarvola::gps
