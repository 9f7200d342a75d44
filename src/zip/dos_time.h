#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>

namespace tarvola::zip {

// Date-time values count days since 30 December 1899, the fraction being the time of day.

// The file's last-write time in local time; -1.0 when the file cannot be found.
double FileModifiedStamp(const std::filesystem::path& path);

// The same scale for a moment given in seconds since the epoch, in local time.
double LocalDateTimeOf(std::time_t moment);

// MS-DOS date (high 16 bits) and time (low 16 bits, two-second steps); 0 outside 1980..2107.
std::uint32_t DateTimeToDosStamp(double dateTime);

}  // namespace tarvola::zip
