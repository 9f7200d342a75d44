#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvola::cli {

// The command-line arguments after the program name, as UTF-8: the converter works in UTF-8
// throughout, so that file names outside the Windows ANSI code page still work there.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace tarvola::cli
