#include "gps/control_mask.h"

#include <cstdint>
#include <cstring>

namespace tarvola::gps {

namespace {

constexpr char MaskLead1 = '\xEF', MaskLead2 = '\xB7';

bool IsMaskedControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// The third byte of U+FDD0 to U+FDEF, after EF B7; 0 for anything else at `at`.
unsigned MaskByteAt(std::string_view text, std::size_t at) {
  if (at + 2 >= text.size() || text[at] != MaskLead1 || text[at + 1] != MaskLead2) return 0;
  const auto third = static_cast<unsigned char>(text[at + 2]);
  return third >= 0x90 && third < 0xB0 ? third : 0;
}

// Whether any byte is below 0x20 other than tab, LF and CR, or may start a noncharacter of the
// mask's range: eight bytes at a time, as almost every piece of a file has none.
bool NeedsMasking(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    const std::uint64_t lead = word ^ 0xEFEFEFEFEFEFEFEFULL;
    if (((word - 0x2020202020202020ULL) & ~word & 0x8080808080808080ULL) == 0 &&
        ((lead - 0x0101010101010101ULL) & ~lead & 0x8080808080808080ULL) == 0)
      continue;
    for (std::size_t k = i; k < i + 8; ++k)
      if (IsMaskedControl(text[k]) || MaskByteAt(text, k) != 0) return true;
  }
  for (; i < text.size(); ++i)
    if (IsMaskedControl(text[i]) || MaskByteAt(text, i) != 0) return true;
  return false;
}

constexpr unsigned char Marker = 0x90;  // U+FDD0: NUL, which never reaches the parser, would be it

}  // namespace

bool MaskControls(std::string& text) {
  if (!NeedsMasking(text)) return false;
  std::string masked;
  masked.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (MaskByteAt(text, i) != 0) {
      masked.append({MaskLead1, MaskLead2, static_cast<char>(Marker)});
      masked.append(text, i, 3);
      i += 2;
    } else if (IsMaskedControl(c)) {
      masked.append({MaskLead1, MaskLead2, static_cast<char>(Marker + c)});
    } else {
      masked.push_back(c);
    }
  }
  text.swap(masked);
  return true;
}

void UnmaskControls(std::string& text) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned third = MaskByteAt(text, i);
    if (third == 0) {
      text[out++] = text[i];
    } else if (third != Marker) {
      text[out++] = static_cast<char>(third - Marker);
      i += 2;
    } else if (MaskByteAt(text, i + 3) != 0) {
      for (std::size_t k = 3; k < 6; ++k) text[out++] = text[i + k];
      i += 5;
    } else {
      i += 2;  // a marker with nothing after it: the text was cut between the two
    }
  }
  text.resize(out);
}

}  // namespace tarvola::gps
