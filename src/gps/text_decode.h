#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "gps/code_pages.h"

namespace tarvola::gps {

// Byte-level decoding behind TTextSource. All output is UTF-8.

enum class TTextEncoding { Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

struct TEncodingGuess {
  TTextEncoding Encoding = TTextEncoding::Utf8;
  std::size_t MarkLength = 0;  // bytes of byte-order mark to skip
};

// The encoding by the first bytes of a file, first matching rule wins. Fewer than four bytes
// cannot hold a GPX document and fall to the last rule (UTF-8, nothing skipped).
TEncodingGuess GuessEncoding(std::string_view firstBytes);

bool IsValidUtf8(std::string_view bytes);
// How many bytes at the start are well-formed UTF-8: up to the first byte of a sequence that is
// malformed or cut off at the end.
std::size_t ValidUtf8Length(std::string_view bytes);
// UTF-8 in which a byte that starts no well-formed sequence is read as a character of the code
// page (an old file's Latin text, a stray byte): every valid sequence stays as it is.
std::string RepairUtf8(std::string_view bytes, TSingleByteCode code);

// The label of the XML declaration's encoding at the start of `text`, lower-cased; empty when
// there is no declaration or it names none.
std::string DeclaredEncoding(std::string_view text);

// Bytes of a single-byte code page to UTF-8, stopping at a NUL byte.
std::string DecodeSingleByte(std::string_view bytes, TSingleByteCode code);

// UTF-16 and UTF-32 code units to UTF-8, stopping at a NUL character. A trailing partial unit is
// ignored; unpaired surrogates and values beyond U+10FFFF become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string Utf32LeToUtf8(std::string_view bytes);

}  // namespace tarvola::gps
