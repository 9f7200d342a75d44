// Owned by the desktop subsystem.
#pragma once

#include <string>
#include <string_view>

namespace tarvola::desktop {

// UTF-16 little-endian bytes as UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace tarvola::desktop
