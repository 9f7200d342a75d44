#include <windows.h>

#include "gps/iso8601.h"

namespace tarvola::gps {

// The biases are the minutes to add to local time to get UTC; the one in effect now counts.
std::int16_t LocalZoneOffset() {
  TIME_ZONE_INFORMATION info{};
  switch (GetTimeZoneInformation(&info)) {
    case TIME_ZONE_ID_STANDARD:
      return static_cast<std::int16_t>(-(info.Bias + info.StandardBias));
    case TIME_ZONE_ID_DAYLIGHT:
      return static_cast<std::int16_t>(-(info.Bias + info.DaylightBias));
    default:
      return static_cast<std::int16_t>(-info.Bias);
  }
}

}  // namespace tarvola::gps
