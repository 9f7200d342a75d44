#include "gps/control_mask.h"

#include <cstdint>
#include <cstring>

namespace tarvola::gps {

namespace {

constexpr char MaskLead1 = '\xEF', MaskLead2 = '\xB7';

bool IsMaskedControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// Whether any byte is below 0x20 other than tab, LF and CR: eight bytes at a time, as almost
// every piece of a file has none.
bool HasMaskedControl(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    if (((word - 0x2020202020202020ULL) & ~word & 0x8080808080808080ULL) == 0) continue;
    for (std::size_t k = i; k < i + 8; ++k)
      if (IsMaskedControl(text[k])) return true;
  }
  for (; i < text.size(); ++i)
    if (IsMaskedControl(text[i])) return true;
  return false;
}

}  // namespace

bool MaskControls(std::string& text) {
  if (!HasMaskedControl(text)) return false;
  std::size_t count = 0;
  for (char c : text) count += IsMaskedControl(c);
  std::string masked;
  masked.reserve(text.size() + 2 * count);
  for (char c : text) {
    if (!IsMaskedControl(c)) {
      masked.push_back(c);
      continue;
    }
    masked.push_back(MaskLead1);
    masked.push_back(MaskLead2);
    masked.push_back(static_cast<char>(0x90 + c));
  }
  text.swap(masked);
  return true;
}

void UnmaskControls(std::string& text) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char third = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
    if (text[i] == MaskLead1 && text[i + 1] == MaskLead2 && third >= 0x90 && third < 0xB0) {
      text[out++] = static_cast<char>(third - 0x90);
      i += 2;
    } else {
      text[out++] = text[i];
    }
  }
  text.resize(out);
}

}  // namespace tarvola::gps
