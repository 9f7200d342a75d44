#include "zip/entry_name.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "io/system_text.h"

namespace tarvola::zip {

namespace {

// The characters of code page 437 at 0x80..0xFF.
constexpr std::array<char32_t, 128> Cp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::string_view FinalComponent(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\:");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Decodes one UTF-8 sequence at text[i] and moves i past it; nothing for a malformed one.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  const int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
  if (extra < 0 || lead >= 0xF5) return std::nullopt;
  char32_t cp = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return std::nullopt;
    cp = cp << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  const bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return std::nullopt;
  return cp;
}

char Cp437Of(char32_t cp) {
  if (cp < 0x80) return static_cast<char>(cp);
  for (std::size_t k = 0; k < Cp437High.size(); ++k)
    if (Cp437High[k] == cp) return static_cast<char>(0x80 + k);
  return '_';
}

}  // namespace

std::string EntryNameOf(const std::filesystem::path& source) {
  const std::string full = io::PathText(source);
  const std::string_view name = FinalComponent(full);
  std::string result;
  result.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const std::optional<char32_t> cp = NextCodePoint(name, i);
    result += cp ? Cp437Of(*cp) : '_';
  }
  return result;
}

}  // namespace tarvola::zip
