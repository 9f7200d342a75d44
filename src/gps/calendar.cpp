#include "gps/calendar.h"

#include <cmath>

namespace tarvola::gps {

namespace {

constexpr long MsPerDay = 86'400'000;
// Days from 0001-01-01 to 1899-12-30 on the proleptic Gregorian calendar.
constexpr long EpochFromCivil = 693'593;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

// Days since 0001-01-01 (day 0) of a valid date.
long CivilDays(int year, int month, int day) {
  long y = year - 1;
  long days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days + day - 1;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

std::optional<long> EncodeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) return std::nullopt;
  return CivilDays(year, month, day) - EpochFromCivil;
}

double ComposeDateTime(long days, long milliseconds) {
  double time = static_cast<double>(milliseconds) / MsPerDay;
  return days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time;
}

std::optional<TDateTimeParts> SplitDateTime(double dateTime) {
  static const long MinDays = CivilDays(1, 1, 1) - EpochFromCivil;
  static const long MaxDays = CivilDays(9999, 12, 31) - EpochFromCivil;
  if (!std::isfinite(dateTime)) return std::nullopt;
  double whole = std::trunc(dateTime);
  if (whole < static_cast<double>(MinDays) || whole > static_cast<double>(MaxDays)) return std::nullopt;
  long days = static_cast<long>(whole);
  long ms = std::lround(std::fabs(dateTime - whole) * MsPerDay);
  if (ms >= MsPerDay) ms = MsPerDay - 1;

  TDateTimeParts parts;
  long civil = days + EpochFromCivil;
  parts.DayOfWeek = static_cast<int>((civil + 1) % 7);  // 0001-01-01 was a Monday
  // Walk down from 400-year cycles; the loops run a handful of times at most.
  long n400 = civil / 146'097, rest = civil % 146'097;
  long n100 = rest / 36'524;
  if (n100 == 4) n100 = 3;
  rest -= n100 * 36'524;
  long n4 = rest / 1'461;
  rest -= n4 * 1'461;
  long n1 = rest / 365;
  if (n1 == 4) n1 = 3;
  rest -= n1 * 365;
  parts.Year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  parts.DayOfYear = static_cast<int>(rest);
  int month = 1;
  while (rest >= DaysInMonth(parts.Year, month)) rest -= DaysInMonth(parts.Year, month++);
  parts.Month = month;
  parts.Day = static_cast<int>(rest) + 1;
  parts.Hour = static_cast<int>(ms / 3'600'000);
  parts.Minute = static_cast<int>(ms / 60'000 % 60);
  parts.Second = static_cast<int>(ms / 1000 % 60);
  parts.Millisecond = static_cast<int>(ms % 1000);
  return parts;
}

}  // namespace tarvola::gps
