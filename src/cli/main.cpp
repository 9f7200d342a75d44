#include <clocale>
#include <cstdio>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "cli_options.h"
#include "convert_runner.h"
#include "usage_text.h"
#include "utf8_text.h"

namespace {

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_TIME, "");
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
      Print(stdout, HelpText());
      return 0;
    case TCliMode::Version:
      Print(stdout, VersionText());
      return 0;
    case TCliMode::Info:
      return RunInfo(parsed.Options, stdout);
    case TCliMode::Convert:
      break;
  }
  return RunConversions(parsed.Options, stderr, StderrIsTerminal());
}
