#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "cli_options.h"
#include "io/cleanup.h"
#include "output_plan.h"

namespace tarvola::cli {

// A private folder under the system's temporary folder for the file standard output gets,
// removed with everything in it, a signal's end of the process included.
class TScratchFolder {
public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  // Empty when the folder could not be made; Error() then says why.
  const std::filesystem::path& Path() const { return FPath; }
  const std::error_code& Error() const { return FError; }
  // The one file inside it that standard output's document goes to.
  std::filesystem::path File(std::string_view name);

private:
  std::filesystem::path FPath;
  std::error_code FError;
  std::optional<io::TCleanupEntry> FFolderEntry, FFileEntry;
};

// What a write to a pipe whose reader has gone says.
inline constexpr std::string_view ClosedOutputText = "standard output closed";

// Standard input, switched to binary reading where the system tells text from binary.
std::FILE* BinaryStandardInput();

// Copies `file` to standard output and flushes it; the error, if any.
std::error_code CopyToStandardOutput(const std::filesystem::path& file);

// Converts the one input of a plan that reads standard input or writes standard output.
// Standard input is read once as it comes; the output goes through a file in a scratch folder,
// so nothing reaches standard output unless the conversion succeeded. Failures go to `err`. Returns the exit code, 0 or 1.
int ConvertThroughStandardStreams(TPlannedConversion plan, const TCliOptions& options, std::FILE* err);

}  // namespace tarvola::cli
