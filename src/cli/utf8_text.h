#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarvola::cli {

// The converter works in UTF-8 throughout; these cross to the system's own forms, so that
// file names outside the Windows ANSI code page still work there.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8Of(const std::filesystem::path& path);

// The command-line arguments after the program name, as UTF-8.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace tarvola::cli
