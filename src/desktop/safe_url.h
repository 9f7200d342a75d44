#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvola::desktop {

// The address made safe to hand to a browser's command template: only http and https
// (any letter case), with every character a URL may not hold percent-encoded, so quotes
// and blanks can never split it into further arguments. nullopt for anything else.
std::optional<std::string> SafeWebAddress(std::string_view address);

}  // namespace tarvola::desktop
