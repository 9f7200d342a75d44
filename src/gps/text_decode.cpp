#include "gps/text_decode.h"

#include <cstdint>
#include <cstring>

namespace tarvola::gps {

namespace {

unsigned char Byte(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

constexpr char32_t Replacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

}  // namespace

TEncodingGuess GuessEncoding(std::string_view firstBytes) {
  if (firstBytes.size() < 4) return {TTextEncoding::Utf8, 0};
  unsigned b0 = Byte(firstBytes, 0), b1 = Byte(firstBytes, 1), b2 = Byte(firstBytes, 2),
           b3 = Byte(firstBytes, 3);
  if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) return {TTextEncoding::Utf8, 3};
  if (b0 == 0xFF && b1 == 0xFE && b2 == 0 && b3 == 0) return {TTextEncoding::Utf32LE, 4};
  if (b0 == 0 && b1 == 0 && b2 == 0xFE && b3 == 0xFF) return {TTextEncoding::Utf32BE, 0};
  if (b0 == 0xFF && b1 == 0xFE) return {TTextEncoding::Utf16LE, 2};
  if (b0 == 0xFE && b1 == 0xFF) return {TTextEncoding::Utf16BE, 2};
  if (b0 != 0 && b1 == 0 && b2 != 0 && b3 == 0) return {TTextEncoding::Utf16LE, 0};
  if (b0 == 0 && b1 != 0 && b2 == 0 && b3 != 0) return {TTextEncoding::Utf16BE, 0};
  return {TTextEncoding::Utf8, 0};
}

bool IsValidUtf8(std::string_view bytes) { return ValidUtf8Length(bytes) == bytes.size(); }

std::size_t ValidUtf8Length(std::string_view bytes) {
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    // Most GPX text is ASCII: take eight bytes at a time while no high bit is set.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, 8);
      if (word & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= n) break;
    unsigned c = Byte(bytes, i);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned low = 0x80, high = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
      length = 2;
    else if (c == 0xE0)
      length = 3, low = 0xA0;
    else if (c >= 0xE1 && c <= 0xEC)
      length = 3;
    else if (c == 0xED)
      length = 3, high = 0x9F;
    else if (c >= 0xEE && c <= 0xEF)
      length = 3;
    else if (c == 0xF0)
      length = 4, low = 0x90;
    else if (c >= 0xF1 && c <= 0xF3)
      length = 4;
    else if (c == 0xF4)
      length = 4, high = 0x8F;
    else
      return i;
    if (i + 1 >= n) return i;
    unsigned second = Byte(bytes, i + 1);
    if (second < low || second > high) return i;
    for (std::size_t k = 2; k < length; ++k)
      if (i + k >= n || (Byte(bytes, i + k) & 0xC0) != 0x80) return i;
    i += length;
  }
  return n;
}

std::string RepairUtf8(std::string_view bytes, TSingleByteCode code) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  while (!bytes.empty()) {
    const std::size_t valid = ValidUtf8Length(bytes);
    out.append(bytes.substr(0, valid));
    if (valid == bytes.size()) break;
    AppendUtf8(out, SingleByteCharacter(code, Byte(bytes, valid)));
    bytes.remove_prefix(valid + 1);
  }
  return out;
}

std::string DeclaredEncoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml") return {};
  std::string_view decl = text.substr(0, text.find("?>"));
  std::size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return {};
  at += 8;
  while (at < decl.size() && (decl[at] == ' ' || decl[at] == '\t' || decl[at] == '\r' ||
                              decl[at] == '\n' || decl[at] == '='))
    ++at;
  if (at >= decl.size() || (decl[at] != '"' && decl[at] != '\'')) return {};
  std::size_t end = decl.find(decl[at], at + 1);
  if (end == std::string_view::npos) return {};
  return Lower(decl.substr(at + 1, end - at - 1));
}

std::string DecodeSingleByte(std::string_view bytes, TSingleByteCode code) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = Byte(bytes, i);
    if (b == 0) break;
    if (b < 0x80) {
      out += static_cast<char>(b);
      continue;
    }
    AppendUtf8(out, SingleByteCharacter(code, b));
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2 + bytes.size() / 8);
  const std::size_t units = bytes.size() / 2;
  auto unitAt = [&](std::size_t k) -> char32_t {
    unsigned a = Byte(bytes, 2 * k), b = Byte(bytes, 2 * k + 1);
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  for (std::size_t k = 0; k < units; ++k) {
    char32_t c = unitAt(k);
    if (c == 0) break;
    if (c >= 0xD800 && c <= 0xDBFF && k + 1 < units) {
      char32_t next = unitAt(k + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00));
        ++k;
        continue;
      }
    }
    AppendUtf8(out, IsSurrogate(c) ? Replacement : c);
  }
  return out;
}

std::string Utf32LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() / 4 + bytes.size() / 16);
  for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    char32_t c = static_cast<char32_t>(Byte(bytes, i)) |
                 static_cast<char32_t>(Byte(bytes, i + 1)) << 8 |
                 static_cast<char32_t>(Byte(bytes, i + 2)) << 16 |
                 static_cast<char32_t>(Byte(bytes, i + 3)) << 24;
    if (c == 0) break;
    AppendUtf8(out, IsSurrogate(c) || c > 0x10FFFF ? Replacement : c);
  }
  return out;
}

}  // namespace tarvola::gps
