#pragma once

#include <string_view>

namespace tarvola::cli {

std::string_view HelpText();
std::string_view VersionText();

}  // namespace tarvola::cli
