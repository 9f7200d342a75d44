#include "gps/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "gps/text_decode.h"

namespace tarvola::gps {

namespace {

// The stream from `offset` on; false when reading fails. `head` is what was read already, which
// a pipe cannot give a second time.
bool ReadFrom(std::ifstream& in, std::streamoff offset, std::string_view head, std::string& bytes) {
  in.clear();
  in.seekg(0, std::ios::end);
  std::streamoff end = in.tellg();
  bytes.clear();
  if (end >= 0) {
    if (end <= offset) return true;
    bytes.resize(static_cast<std::size_t>(end - offset));
    in.seekg(offset);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return in.gcount() == static_cast<std::streamsize>(bytes.size());
  }
  // Not seekable (a pipe): read the rest in pieces after the head, then skip the mark.
  in.clear();
  bytes.assign(head);
  char piece[65536];
  while (in.read(piece, sizeof piece) || in.gcount() > 0)
    bytes.append(piece, static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return false;
  bytes.erase(0, std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(offset)));
  return true;
}

void CutAtNul(std::string& text) {
  if (const void* nul = std::memchr(text.data(), 0, text.size()))
    text.resize(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
}

// An old GPX file in a Latin code page does not decode as UTF-8; its XML declaration usually
// says which code page it is, and Windows-1252 covers the rest of them.
void DecodeUtf8OrFallBack(std::string& text) {
  CutAtNul(text);
  if (IsValidUtf8(text)) return;
  text = DecodeSingleByte(text, SingleByteCodeFor(DeclaredEncoding(text)));
}

// errno as the streams leave it; a failure that set none is still an input/output error.
std::error_code LastSystemError() {
  return errno != 0 ? std::error_code(errno, std::generic_category())
                    : std::make_error_code(std::errc::io_error);
}

}  // namespace

int DecodeTextFile(const std::filesystem::path& fileName, std::string& text) {
  std::error_code error;
  return DecodeTextFile(fileName, text, error);
}

int DecodeTextFile(const std::filesystem::path& fileName, std::string& text,
                   std::error_code& error) {
  text.clear();
  error.clear();
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) {
    error = std::make_error_code(std::errc::is_a_directory);
    return TextFileCannotOpen;
  }
  errno = 0;
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    error = LastSystemError();
    return TextFileCannotOpen;
  }

  char first[4] = {};
  in.read(first, sizeof first);
  const std::string_view head(first, static_cast<std::size_t>(in.gcount()));
  TEncodingGuess guess = GuessEncoding(head);
  if (guess.Encoding == TTextEncoding::Utf32BE) return TextFileEncodingNotSupported;

  std::string bytes;
  errno = 0;
  if (!ReadFrom(in, static_cast<std::streamoff>(guess.MarkLength), head, bytes)) {
    error = LastSystemError();
    return TextFileCannotOpen;
  }
  switch (guess.Encoding) {
    case TTextEncoding::Utf8:
      DecodeUtf8OrFallBack(bytes);
      text = std::move(bytes);
      break;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      text = Utf16ToUtf8(bytes, guess.Encoding == TTextEncoding::Utf16BE);
      break;
    case TTextEncoding::Utf32LE:
      text = Utf32LeToUtf8(bytes);
      break;
    case TTextEncoding::Utf32BE:
      break;
  }
  return TextFileRead;
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

int ReadTextFile(const std::filesystem::path& fileName, std::vector<std::string>& lines) {
  lines.clear();
  std::string text;
  int code = DecodeTextFile(fileName, text);
  if (code == TextFileRead) lines = SplitLines(text);
  return code;
}

}  // namespace tarvola::gps
