#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvola::desktop {

// Splits a parameter text into arguments by the rules Windows programs read their command
// line with (the ones of CommandLineToArgvW after the program name): blanks separate,
// double quotes group, backslashes escape only before a quote.
std::vector<std::string> SplitWindowsParameters(std::string_view parameters);

// The inverse: one argument quoted so that SplitWindowsParameters gives it back unchanged.
std::string QuoteWindowsArgument(std::string_view argument);
std::string JoinWindowsParameters(const std::vector<std::string>& arguments);

}  // namespace tarvola::desktop
