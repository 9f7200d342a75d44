#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli_options.h"

namespace tarvola::cli {

struct TPlannedConversion {
  std::string InputText;  // the argument as given, for messages
  std::filesystem::path Input;
  std::filesystem::path Output;
  kml::TKmlFileType Type = kml::TKmlFileType::Kmz;
  std::string Refusal;  // not empty: this input is not converted, for the reason given
  bool FromStandardInput = false;  // Input is empty until standard input is read
  bool ToStandardOutput = false;   // Output is empty: the caller chooses where the file is made
};

// The name messages give standard input.
inline constexpr std::string_view StandardInputName = "standard input";

// -o -, or standard input without -o.
bool WritesStandardOutput(const TCliOptions& options);

// The extension .kml or .kmz of -o (any letter case), else --format, else KMZ: the window's rule.
kml::TKmlFileType OutputTypeFor(const TCliOptions& options);

// Where each input goes, in input order. Refuses an output that is one of the inputs
// (the same file, whatever path names it) or the output of an earlier input, and with
// --no-clobber an output that exists.
std::vector<TPlannedConversion> PlanConversions(const TCliOptions& options);

}  // namespace tarvola::cli
