#pragma once

#include <string>
#include <string_view>

namespace tarvola::cli {

inline constexpr std::string_view ProgramName = "tarvola-convert";

// One failure on standard error: "tarvola-convert: trip.gpx: Cannot open file: No such file or
// directory". `text` is the window's text for the failure; `reason`, when known, says why.
std::string FailureLine(std::string_view input, std::string_view text, std::string_view reason = {});

}  // namespace tarvola::cli
