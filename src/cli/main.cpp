#include <cerrno>
#include <clocale>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli_options.h"
#include "console.h"
#include "convert_runner.h"
#include "failure_line.h"
#include "io/cleanup.h"
#include "io/system_text.h"
#include "output_plan.h"
#include "standard_streams.h"
#include "usage_text.h"

namespace {

// What goes to standard output must arrive; a full disk or a closed pipe is a failure.
int Print(std::string_view text, int exitCode) {
  errno = 0;
  // An empty view may hold no pointer at all, which fwrite must not be given.
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return exitCode;
  const std::error_code error = tarvola::io::LastCrtError();
  const std::string line = error == std::errc::broken_pipe
                               ? "tarvola-convert: " + std::string(tarvola::cli::ClosedOutputText) + "\n"
                               : tarvola::cli::FailureLine("standard output", tarvola::io::SystemErrorText(error));
  std::fwrite(line.data(), 1, line.size(), stderr);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_TIME, "");
  tarvola::io::InstallSignalCleanup();
  using namespace tarvola::cli;

  const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin(), arguments.end());
  const TParseResult parsed = ParseCommandLine(args);
  if (!parsed.Ok()) {
    std::fprintf(stderr, "tarvola-convert: %s\nTry 'tarvola-convert --help' for more.\n",
                 parsed.Error.c_str());
    return 2;
  }
  switch (parsed.Options.Mode) {
    case TCliMode::Help:
      return Print(HelpText(), 0);
    case TCliMode::Version:
      return Print(VersionText(), 0);
    case TCliMode::Info:
      return Print({}, RunInfo(parsed.Options, stdout, stderr));
    case TCliMode::Convert:
      break;
  }
  const bool packsToStdout = WritesStandardOutput(parsed.Options) &&
                             OutputTypeFor(parsed.Options) == tarvola::kml::TKmlFileType::Kmz;
  if (packsToStdout && IsTerminal(stdout)) {
    std::fputs("tarvola-convert: not writing a KMZ package to a terminal; redirect standard output "
               "or use --format kml\nTry 'tarvola-convert --help' for more.\n", stderr);
    return 2;
  }
  return RunConversions(parsed.Options, stderr, IsTerminal(stderr));
}
