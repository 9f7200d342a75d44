#pragma once

#include <functional>
#include <string_view>

namespace tarvola::service {

using TIniValueHandler =
    std::function<void(std::string_view section, std::string_view name, std::string_view value)>;

// Reads INI text as the common readers do: "[section]" lines, "name=value" or "name: value"
// lines, comments from ";" or "#" at a line's start or from " ;" within a value, a UTF-8 byte
// order mark before the first line. Names and values come trimmed; a line may be of any length;
// a line that is none of these is skipped and the others still count.
void ParseIniText(std::string_view text, const TIniValueHandler& onValue);

}  // namespace tarvola::service
