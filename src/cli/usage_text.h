#pragma once

#include <string>
#include <string_view>

namespace tarvola::cli {

std::string_view HelpText();
// First line "tarvola-convert (<name>) <version>", the build on the second.
std::string VersionText();

}  // namespace tarvola::cli
