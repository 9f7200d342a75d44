#include "gps/text_file.h"

#include <algorithm>

#include "gps/text_source.h"

namespace tarvola::gps {

TTextFileResult DecodeTextFile(const std::filesystem::path& fileName, std::string& text) {
  text.clear();
  TTextSource source;
  TTextFileResult result = source.Open(fileName);
  if (result.Code != TextFileRead) return result;
  std::string piece;
  while (source.Next(piece)) text.append(piece);
  if (source.Error()) {
    text.clear();
    return source.ReadFailure();
  }
  return result;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TTextPosition PositionInText(std::string_view text, std::size_t offset) {
  TTextPosition position;
  offset = std::min(offset, text.size());
  for (std::size_t i = 0; i < offset; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < offset && text[i + 1] == '\n') ++i;
      ++position.Line;
      position.Column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++position.Column;
    }
  }
  return position;
}

TTextFileResult ReadTextFile(const std::filesystem::path& fileName, std::vector<std::string>& lines) {
  lines.clear();
  std::string text;
  TTextFileResult result = DecodeTextFile(fileName, text);
  if (result.Code == TextFileRead) lines = SplitLines(text);
  return result;
}

}  // namespace tarvola::gps
