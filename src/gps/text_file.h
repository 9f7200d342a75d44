#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarvola::gps {

// Result codes of ReadTextFile and DecodeTextFile.
inline constexpr int TextFileRead = 0;
inline constexpr int TextFileCannotOpen = -1;
inline constexpr int TextFileEncodingNotSupported = -2;  // big-endian UTF-32

// Reads a text file into UTF-8 lines, the encoding found from the first four bytes. Lines end at
// CR LF, lone CR and lone LF (not kept); a NUL character ends the text; a final line break adds
// no empty line. `lines` is cleared first and stays empty on failure.
int ReadTextFile(const std::filesystem::path& fileName, std::vector<std::string>& lines);

// The same decoding into one UTF-8 buffer, cut at the first NUL, line breaks left as they are
// in the file: what the GPX reader parses in place.
int DecodeTextFile(const std::filesystem::path& fileName, std::string& text);

// Splits decoded text into lines by the rules of ReadTextFile.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace tarvola::gps
