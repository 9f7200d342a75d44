#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "io/result.h"

namespace tarvola::gps {

// Result codes of ReadTextFile and DecodeTextFile.
inline constexpr int TextFileRead = 0;
inline constexpr int TextFileCannotOpen = -1;
inline constexpr int TextFileEncodingNotSupported = -2;  // big-endian UTF-32

// One of the codes above, the file, and on failure why: the system's reason when it could not
// be read, the byte order when its encoding is refused.
using TTextFileResult = io::TResult<int>;

// Reads a text file into UTF-8 lines, the encoding found from the first four bytes. Lines end at
// CR LF, lone CR and lone LF (not kept); a NUL character ends the text; a final line break adds
// no empty line. `lines` is cleared first and stays empty on failure.
TTextFileResult ReadTextFile(const std::filesystem::path& fileName, std::vector<std::string>& lines);

// The same decoding into one UTF-8 buffer, cut at the first NUL, line breaks left as they are
// in the file: what the GPX reader parses in place.
TTextFileResult DecodeTextFile(const std::filesystem::path& fileName, std::string& text);

// Splits decoded text into lines by the rules of ReadTextFile.
std::vector<std::string> SplitLines(std::string_view text);

// Line and column (both from 1, the column in characters) of a byte offset in decoded text, the
// lines broken by the rules of ReadTextFile: what a person finds in an editor.
struct TTextPosition {
  std::size_t Line = 1;
  std::size_t Column = 1;
};
TTextPosition PositionInText(std::string_view text, std::size_t offset);

}  // namespace tarvola::gps
