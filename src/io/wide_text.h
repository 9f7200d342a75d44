#pragma once

#include <string>
#include <string_view>

namespace tarvola::io {

// UTF-8, as the program holds every text, and the UTF-16 the Windows system calls take. Built
// for Windows only.
std::string Utf8OfWide(std::wstring_view text);
std::wstring WideOfUtf8(std::string_view text);

}  // namespace tarvola::io
