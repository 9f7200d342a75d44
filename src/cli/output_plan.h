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
};

// The extension .kml or .kmz of -o (any letter case), else --format, else KMZ: the window's rule.
kml::TKmlFileType OutputTypeFor(const TCliOptions& options);

// Where each input goes, in input order. Refuses an output that is one of the inputs
// (the same file, whatever path names it) or the output of an earlier input.
std::vector<TPlannedConversion> PlanConversions(const TCliOptions& options);

}  // namespace tarvola::cli
