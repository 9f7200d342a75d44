#include "cli_options.h"

#include <charconv>

#include "utf8_text.h"

namespace tarvola::cli {

namespace {

constexpr unsigned MaxJobs = 256;

// Walks the arguments; an option's value is the rest of the same argument (-j4,
// --jobs=4) or the next argument (-j 4, --jobs 4).
class TArgReader {
public:
  explicit TArgReader(const std::vector<std::string_view>& args) : FArgs(args) {}

  bool AtEnd() const { return FPos >= FArgs.size(); }
  std::string_view Next() { return FArgs[FPos++]; }

  // `arg` is `shortName`/`longName` itself or carries its value; false when it is neither.
  bool Matches(std::string_view arg, std::string_view shortName, std::string_view longName,
               std::optional<std::string_view>& value, std::string& error) {
    std::optional<std::string_view> attached;
    const bool isShort = !shortName.empty() && arg.starts_with(shortName);
    const bool isLong = arg == longName ||
        (arg.starts_with(longName) && arg.size() > longName.size() && arg[longName.size()] == '=');
    if (!isShort && !isLong) return false;
    if (isShort && arg.size() > shortName.size()) attached = arg.substr(shortName.size());
    if (!isShort && arg.size() > longName.size()) attached = arg.substr(longName.size() + 1);
    if (attached) {
      value = attached;
    } else if (AtEnd()) {
      error = "option " + std::string(arg) + " needs a value";
    } else {
      value = Next();
    }
    return true;
  }

private:
  const std::vector<std::string_view>& FArgs;
  std::size_t FPos = 0;
};

std::optional<unsigned> ParseJobs(std::string_view text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value == 0 || value > MaxJobs) {
    return std::nullopt;
  }
  return value;
}

// Flags without a value. Returns false when `arg` is none of them.
bool ApplyFlag(std::string_view arg, TCliOptions& options, bool& conversionOption) {
  conversionOption = true;
  if (arg == "--no-waypoints") {
    options.Export.Waypoints = false;
  } else if (arg == "--no-routes") {
    options.Export.Routes = false;
  } else if (arg == "--no-tracks") {
    options.Export.Tracks = false;
  } else if (arg == "--join-segments") {
    options.Export.JoinSegments = true;
  } else if (arg == "--time-stamps") {
    options.Export.TimeStamps = true;
  } else if (arg == "-q" || arg == "--quiet") {
    options.Quiet = true;
  } else if (arg == "--info") {
    options.Mode = TCliMode::Info;
    conversionOption = false;
  } else {
    return false;
  }
  return true;
}

// Options with a value. Returns false when `arg` is none of them.
bool ApplyValueOption(std::string_view arg, TArgReader& reader, TCliOptions& options,
                      std::string& error) {
  std::optional<std::string_view> value;
  if (reader.Matches(arg, "-o", "--output", value, error)) {
    if (value && value->empty()) error = "option -o needs a file name";
    if (value && !value->empty()) options.Output = PathFromUtf8(*value);
  } else if (reader.Matches(arg, "-d", "--output-dir", value, error)) {
    if (value && value->empty()) error = "option -d needs a folder name";
    if (value && !value->empty()) options.OutputDir = PathFromUtf8(*value);
  } else if (reader.Matches(arg, "", "--format", value, error)) {
    if (value && *value == "kml") {
      options.Format = kml::TKmlFileType::Kml;
    } else if (value && *value == "kmz") {
      options.Format = kml::TKmlFileType::Kmz;
    } else if (value) {
      error = "--format takes kml or kmz, not '" + std::string(*value) + "'";
    }
  } else if (reader.Matches(arg, "-j", "--jobs", value, error)) {
    if (value) {
      const std::optional<unsigned> jobs = ParseJobs(*value);
      if (jobs) {
        options.Jobs = *jobs;
      } else {
        error = "-j takes a number from 1 to " + std::to_string(MaxJobs) + ", not '" +
                std::string(*value) + "'";
      }
    }
  } else {
    return false;
  }
  return true;
}

std::string CheckCombination(const TCliOptions& options, bool anyConversionOption) {
  if (options.Inputs.empty()) return "no input files";
  if (options.Mode == TCliMode::Info) {
    if (anyConversionOption) return "--info takes no other options";
    return {};
  }
  if (options.Output && options.OutputDir) return "-o and -d cannot be used together";
  if (options.Output && options.Inputs.size() != 1) return "-o takes exactly one input file";
  return {};
}

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string_view>& args) {
  TParseResult result;
  TCliOptions& options = result.Options;
  TArgReader reader(args);
  bool anyConversionOption = false;
  bool optionsEnded = false;
  while (!reader.AtEnd() && result.Error.empty()) {
    const std::string_view arg = reader.Next();
    if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
      options.Inputs.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      options.Mode = TCliMode::Help;
      return result;
    }
    if (arg == "--version") {
      options.Mode = TCliMode::Version;
      return result;
    }
    bool conversionOption = false;
    if (ApplyFlag(arg, options, conversionOption)) {
      anyConversionOption = anyConversionOption || conversionOption;
    } else if (ApplyValueOption(arg, reader, options, result.Error)) {
      anyConversionOption = true;
    } else {
      result.Error = "unknown option " + std::string(arg);
    }
  }
  if (result.Error.empty()) result.Error = CheckCombination(options, anyConversionOption);
  return result;
}

}  // namespace tarvola::cli
