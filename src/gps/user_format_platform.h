#pragma once

#include <optional>
#include <string>

#include "gps/calendar.h"

namespace tarvola::gps {

// What the system supplies for the user's formats; one backend file per platform.

// The local calendar date and clock time now, with milliseconds.
std::optional<TDateTimeParts> LocalNowParts();

// `parts` as the user's short date, and as the user's long time or (longTime false) short time.
std::string FormatUserDate(const TDateTimeParts& parts);
std::string FormatUserTime(const TDateTimeParts& parts, bool longTime);

}  // namespace tarvola::gps
