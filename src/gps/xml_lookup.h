#pragma once

#include <string_view>

namespace tarvola::gps {

// Name tests of the GPX reader on qualified names as written in the file.

// The whole name, compared without regard to ASCII letter case (structural names: WPT is wpt).
bool NameIsAnyCase(std::string_view name, std::string_view lower);

// The part of a name after its prefix, and the prefix (empty for none).
std::string_view LocalName(std::string_view name);
std::string_view PrefixOf(std::string_view name);

// Whether `c` is one of the four characters XML counts as white space.
inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsXmlSpace(std::string_view text);

}  // namespace tarvola::gps
