#include "cli_options.h"

#include <array>
#include <charconv>

#include "io/system_text.h"

namespace tarvola::cli {

namespace {

constexpr unsigned MaxJobs = 256;

enum class TOptionId {
  Output, OutputDir, Format, Jobs, Quiet, NoClobber, NoWaypoints, NoRoutes, NoTracks,
  JoinSegments, TimeStamps, Profile, Altitude, Extrude, LineWidth, Units, Info, Help, Version
};

struct TOptionDef {
  TOptionId Id;
  char Short;  // '\0': long form only
  std::string_view Long;
  bool TakesValue;
};

constexpr std::array<TOptionDef, 19> OptionTable = {{
    {TOptionId::Output, 'o', "output", true},
    {TOptionId::OutputDir, 'd', "output-dir", true},
    {TOptionId::Format, '\0', "format", true},
    {TOptionId::Jobs, 'j', "jobs", true},
    {TOptionId::Quiet, 'q', "quiet", false},
    {TOptionId::NoClobber, 'n', "no-clobber", false},
    {TOptionId::NoWaypoints, '\0', "no-waypoints", false},
    {TOptionId::NoRoutes, '\0', "no-routes", false},
    {TOptionId::NoTracks, '\0', "no-tracks", false},
    {TOptionId::JoinSegments, '\0', "join-segments", false},
    {TOptionId::TimeStamps, '\0', "time-stamps", false},
    {TOptionId::Profile, '\0', "profile", true},
    {TOptionId::Altitude, '\0', "altitude", true},
    {TOptionId::Extrude, '\0', "extrude", false},
    {TOptionId::LineWidth, '\0', "line-width", true},
    {TOptionId::Units, '\0', "units", true},
    {TOptionId::Info, '\0', "info", false},
    {TOptionId::Help, 'h', "help", false},
    {TOptionId::Version, 'V', "version", false},
}};

// How an option was found: its entry, the name as the user wrote it, and any value.
struct TFoundOption {
  const TOptionDef* Def = nullptr;
  std::string Written;
  std::optional<std::string_view> Value;
};

const TOptionDef* FindShort(char name) {
  for (const TOptionDef& def : OptionTable) {
    if (def.Short != '\0' && def.Short == name) return &def;
  }
  return nullptr;
}

// An exact long name, else the one long name that `name` begins.
const TOptionDef* FindLong(std::string_view name, std::string& error) {
  std::vector<const TOptionDef*> candidates;
  for (const TOptionDef& def : OptionTable) {
    if (def.Long == name) return &def;
    if (def.Long.starts_with(name)) candidates.push_back(&def);
  }
  if (candidates.size() == 1) return candidates.front();
  if (candidates.empty()) {
    error = "unknown option --" + std::string(name);
    return nullptr;
  }
  error = "option --" + std::string(name) + " is ambiguous; it could be";
  for (const TOptionDef* def : candidates) error += " --" + std::string(def->Long);
  return nullptr;
}

class TArgReader {
public:
  explicit TArgReader(const std::vector<std::string_view>& args) : FArgs(args) {}

  bool AtEnd() const { return FPos >= FArgs.size() && FBundle.empty(); }
  bool InBundle() const { return !FBundle.empty(); }
  std::string_view Next() { return FArgs[FPos++]; }

  // The next option of `arg` (or of the bundle being read), with its value taken from the rest
  // of the argument or from the next one.
  std::optional<TFoundOption> ReadOption(std::string_view arg, std::string& error) {
    if (FBundle.empty() && arg.starts_with("--")) return ReadLong(arg.substr(2), error);
    if (FBundle.empty()) FBundle = arg.substr(1);
    const char name = FBundle.front();
    FBundle.remove_prefix(1);
    TFoundOption found{FindShort(name), std::string("-") + name, std::nullopt};
    if (found.Def == nullptr) {
      error = "unknown option " + found.Written;
      FBundle = {};
      return std::nullopt;
    }
    if (found.Def->TakesValue) {
      if (!FBundle.empty()) found.Value = FBundle;
      FBundle = {};
      if (!found.Value) TakeNextValue(found, error);
    }
    return found;
  }

private:
  std::optional<TFoundOption> ReadLong(std::string_view text, std::string& error) {
    const std::size_t equals = text.find('=');
    const TOptionDef* def = FindLong(text.substr(0, equals), error);
    if (def == nullptr) return std::nullopt;
    TFoundOption found{def, "--" + std::string(def->Long), std::nullopt};
    if (equals != std::string_view::npos) {
      if (!def->TakesValue) {
        error = "option " + found.Written + " takes no value";
        return std::nullopt;
      }
      found.Value = text.substr(equals + 1);
    } else if (def->TakesValue) {
      TakeNextValue(found, error);
    }
    return found;
  }

  void TakeNextValue(TFoundOption& found, std::string& error) {
    if (FPos >= FArgs.size()) {
      error = "option " + found.Written + " needs a value";
    } else {
      found.Value = Next();
    }
  }

  const std::vector<std::string_view>& FArgs;
  std::size_t FPos = 0;
  std::string_view FBundle;  // the short options of the current argument not yet read
};

std::optional<unsigned> ParseJobs(std::string_view text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value == 0 || value > MaxJobs) {
    return std::nullopt;
  }
  return value;
}

// Sets `target` to the value a word names, or says which words `option` takes.
template <typename TValue>
std::string Choose(std::optional<TValue> named, TValue& target, std::string_view option, std::string_view words,
                   std::string_view value) {
  if (!named) return std::string(option) + " takes " + std::string(words) + ", not '" + std::string(value) + "'";
  target = *named;
  return {};
}

std::string ApplyValue(TOptionId id, std::string_view value, TCliOptions& options) {
  switch (id) {
    case TOptionId::Output:
      if (value.empty()) return "option -o needs a file name";
      options.Output = io::PathFromText(value);
      return {};
    case TOptionId::OutputDir:
      if (value.empty()) return "option -d needs a folder name";
      options.OutputDir = io::PathFromText(value);
      return {};
    case TOptionId::Format:
      if (value == "kml") options.Format = kml::TKmlFileType::Kml;
      if (value == "kmz") options.Format = kml::TKmlFileType::Kmz;
      if (value == "kml" || value == "kmz") return {};
      return "--format takes kml or kmz, not '" + std::string(value) + "'";
    case TOptionId::Jobs:
      if (const std::optional<unsigned> jobs = ParseJobs(value)) {
        options.Jobs = *jobs;
        return {};
      }
      return "-j takes a number from 1 to " + std::to_string(MaxJobs) + ", not '" + std::string(value) + "'";
    case TOptionId::Profile:
      return Choose(kml::ProfileNamed(value), options.Export.Output.Profile, "--profile", "classic, earth or web", value);
    case TOptionId::Altitude:
      return Choose(kml::AltitudeNamed(value), options.Export.Output.Altitude, "--altitude",
                    "clamp, relative or absolute", value);
    case TOptionId::LineWidth:
      if (kml::IsLineWidth(value)) {
        options.Export.Output.LineWidth = value;
        return {};
      }
      return "--line-width takes a number of pixels above 0 and up to 100, not '" + std::string(value) + "'";
    case TOptionId::Units:
      return Choose(kml::UnitsNamed(value), options.Export.Output.Units, "--units", "metric or imperial", value);
    default:
      return {};
  }
}

void ApplyFlag(TOptionId id, TCliOptions& options) {
  switch (id) {
    case TOptionId::Quiet: options.Quiet = true; break;
    case TOptionId::NoClobber: options.NoClobber = true; break;
    case TOptionId::NoWaypoints: options.Export.Waypoints = false; break;
    case TOptionId::NoRoutes: options.Export.Routes = false; break;
    case TOptionId::NoTracks: options.Export.Tracks = false; break;
    case TOptionId::JoinSegments: options.Export.JoinSegments = true; break;
    case TOptionId::TimeStamps: options.Export.TimeStamps = true; break;
    case TOptionId::Extrude: options.Export.Output.Extrude = true; break;
    case TOptionId::Info: options.Mode = TCliMode::Info; break;
    case TOptionId::Help: options.Mode = TCliMode::Help; break;
    case TOptionId::Version: options.Mode = TCliMode::Version; break;
    default: break;
  }
}

std::string CheckStandardInput(const TCliOptions& options) {
  for (const std::string& input : options.Inputs) {
    if (input != StandardStream) continue;
    if (options.Inputs.size() != 1) return "standard input (-) must be the only input";
    if (options.OutputDir) return "-d cannot be used with standard input (-)";
  }
  return {};
}

std::string CheckCombination(const TCliOptions& options, bool anyConversionOption) {
  if (options.Inputs.empty()) return "no input files";
  if (options.Mode == TCliMode::Info) {
    if (anyConversionOption) return "--info takes no other options";
    return CheckStandardInput(options);
  }
  if (options.Output && options.OutputDir) return "-o and -d cannot be used together";
  if (options.Output && options.Inputs.size() != 1) return "-o takes exactly one input file";
  // The extension decides the type; a --format that says otherwise is a mistake worth naming.
  if (options.Output && options.Format) {
    const kml::TKmlFileType named = kml::FileTypeForName(*options.Output, *options.Format);
    if (named != *options.Format) {
      return "--format " + std::string(*options.Format == kml::TKmlFileType::Kml ? "kml" : "kmz") +
             " contradicts the output name " + io::PathText(*options.Output);
    }
  }
  return CheckStandardInput(options);
}

}  // namespace

TParseResult ParseCommandLine(const std::vector<std::string_view>& args) {
  TParseResult result;
  TCliOptions& options = result.Options;
  TArgReader reader(args);
  bool anyConversionOption = false;
  bool optionsEnded = false;
  while (!reader.AtEnd() && result.Error.empty()) {
    const std::string_view arg = reader.InBundle() ? std::string_view() : reader.Next();
    if (!reader.InBundle() && (optionsEnded || arg == StandardStream || !arg.starts_with('-'))) {
      options.Inputs.emplace_back(arg);
      continue;
    }
    if (!reader.InBundle() && arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::optional<TFoundOption> found = reader.ReadOption(arg, result.Error);
    if (!found || !result.Error.empty()) break;
    const TOptionId id = found->Def->Id;
    if (found->Def->TakesValue) {
      result.Error = ApplyValue(id, *found->Value, options);
    } else {
      ApplyFlag(id, options);
    }
    if (id == TOptionId::Help || id == TOptionId::Version) return result;
    if (id != TOptionId::Info) anyConversionOption = true;
  }
  if (result.Error.empty()) result.Error = CheckCombination(options, anyConversionOption);
  return result;
}

}  // namespace tarvola::cli
