#include "console.h"

#include <unistd.h>

namespace tarvola::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

void SetBinary(std::FILE*) {}

}  // namespace tarvola::cli
