#include "output_plan.h"

#include <system_error>

#include "io/system_text.h"

namespace tarvola::cli {

namespace fs = std::filesystem;

namespace {

fs::path DefaultOutput(const fs::path& input, const TCliOptions& options, kml::TKmlFileType type) {
  fs::path name = input.filename();
  name.replace_extension(type == kml::TKmlFileType::Kml ? ".kml" : ".kmz");
  if (options.OutputDir) return *options.OutputDir / name;
  return input.parent_path() / name;
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// A spelling of the path that two names of one file not yet written share.
fs::path Normalised(const fs::path& path) {
  std::error_code ec;
  fs::path result = fs::weakly_canonical(fs::absolute(path, ec), ec);
  return ec ? path.lexically_normal() : result;
}

std::string Refusal(const TPlannedConversion& plan, const std::vector<TPlannedConversion>& earlier,
                    const TCliOptions& options) {
  for (const std::string& input : options.Inputs) {
    if (input != StandardStream && SameFile(plan.Output, input)) {
      return "refusing to write the output onto the input file " + input + " itself";
    }
  }
  std::error_code ec;
  if (fs::is_directory(plan.Output, ec)) {
    return "cannot write " + io::PathText(plan.Output) + ": it is a folder";
  }
  if (options.NoClobber && fs::exists(fs::symlink_status(plan.Output, ec))) {
    return "not converted: " + io::PathText(plan.Output) + " exists and --no-clobber keeps it";
  }
  const fs::path output = Normalised(plan.Output);
  for (const TPlannedConversion& other : earlier) {
    if (Normalised(other.Output) == output) {
      return "not converted: " + io::PathText(plan.Output) + " is already the output of " +
             other.InputText;
    }
  }
  return {};
}

}  // namespace

bool WritesStandardOutput(const TCliOptions& options) {
  if (options.Output) return *options.Output == StandardStream;
  return options.Inputs.size() == 1 && options.Inputs.front() == StandardStream;
}

kml::TKmlFileType OutputTypeFor(const TCliOptions& options) {
  const kml::TKmlFileType chosen = options.Format.value_or(kml::TKmlFileType::Kmz);
  return options.Output ? kml::FileTypeForName(*options.Output, chosen) : chosen;
}

std::vector<TPlannedConversion> PlanConversions(const TCliOptions& options) {
  const kml::TKmlFileType type = OutputTypeFor(options);
  std::vector<TPlannedConversion> plans;
  plans.reserve(options.Inputs.size());
  for (const std::string& inputText : options.Inputs) {
    TPlannedConversion plan;
    plan.FromStandardInput = inputText == StandardStream;
    plan.ToStandardOutput = WritesStandardOutput(options);
    plan.InputText = plan.FromStandardInput ? std::string(StandardInputName) : inputText;
    if (!plan.FromStandardInput) plan.Input = io::PathFromText(inputText);
    plan.Type = type;
    if (!plan.ToStandardOutput) {
      plan.Output = options.Output ? *options.Output : DefaultOutput(plan.Input, options, type);
      plan.Refusal = Refusal(plan, plans, options);
    }
    plans.push_back(std::move(plan));
  }
  return plans;
}

}  // namespace tarvola::cli
