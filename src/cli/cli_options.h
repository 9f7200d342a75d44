#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kml/kml_builder.h"
#include "kml/save_workflow.h"

namespace tarvola::cli {

enum class TCliMode { Convert, Info, Help, Version };

// As an input, standard input; as the output (-o -), standard output.
inline constexpr std::string_view StandardStream = "-";

struct TCliOptions {
  TCliMode Mode = TCliMode::Convert;
  std::vector<std::string> Inputs;
  std::optional<std::filesystem::path> Output;     // -o; StandardStream for standard output
  std::optional<std::filesystem::path> OutputDir;  // -d
  std::optional<kml::TKmlFileType> Format;         // --format
  kml::TExportOptions Export;
  unsigned Jobs = 0;  // 0: one per core
  bool Quiet = false;
  bool NoClobber = false;  // -n: an existing output is kept and the input counts as failed
};

struct TParseResult {
  TCliOptions Options;
  std::string Error;  // not empty: a usage error, in words for the user
  bool Ok() const { return Error.empty(); }
};

// Reads the arguments after the program name, the way getopt_long does: short options bundle
// (-qj2), a long option may be shortened to any unambiguous prefix, -- ends the options and a
// lone - is an input. Stops at --help or --version.
TParseResult ParseCommandLine(const std::vector<std::string_view>& args);

}  // namespace tarvola::cli
