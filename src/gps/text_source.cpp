#include "gps/text_source.h"

#include <cerrno>
#include <cstring>

#include "gps/text_file.h"

namespace tarvola::gps {

namespace {

constexpr std::size_t PieceSize = 256 * 1024;

std::error_code LastSystemError() {
  return errno != 0 ? std::error_code(errno, std::generic_category())
                    : std::make_error_code(std::errc::io_error);
}

std::size_t UnitSize(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE: return 2;
    case TTextEncoding::Utf32LE:
    case TTextEncoding::Utf32BE: return 4;
    case TTextEncoding::Utf8: break;
  }
  return 1;
}

// Where the first NUL character starts, counted in whole units; npos for none.
std::size_t NulAt(std::string_view bytes, std::size_t unit) {
  if (unit == 1) {
    const void* nul = std::memchr(bytes.data(), 0, bytes.size());
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data())
               : std::string_view::npos;
  }
  for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
    bool zero = true;
    for (std::size_t k = 0; k < unit && zero; ++k) zero = bytes[i + k] == 0;
    if (zero) return i;
  }
  return std::string_view::npos;
}

// The length of `bytes` without a UTF-8 sequence cut off at its end.
std::size_t WholeSequences(std::string_view bytes) {
  const std::size_t size = bytes.size();
  std::size_t lead = size;
  while (lead > 0 && size - lead < 3 && (static_cast<unsigned char>(bytes[lead - 1]) & 0xC0) == 0x80)
    --lead;
  if (lead == 0) return size;
  const unsigned c = static_cast<unsigned char>(bytes[lead - 1]);
  if (c < 0xC0) return size;
  const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
  return lead - 1 + length > size ? lead - 1 : size;
}

}  // namespace

TTextFileResult TTextSource::Open(const std::filesystem::path& fileName) {
  FName = fileName;
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) {
    FError = std::make_error_code(std::errc::is_a_directory);
    return ReadFailure();
  }
  errno = 0;
  FFile.open(fileName, std::ios::binary);
  if (!FFile) {
    FError = LastSystemError();
    return ReadFailure();
  }
  char first[4] = {};
  FFile.read(first, sizeof first);
  const std::string_view head(first, static_cast<std::size_t>(FFile.gcount()));
  FFile.clear();
  FFile.seekg(0, std::ios::end);
  if (FFile.tellg() >= 0) {
    FFromFile = true;
  } else {
    // A pipe cannot be read a second time: its bytes are held, the head included.
    FFile.clear();
    FHeld.assign(head);
    char piece[65536];
    while (FFile.read(piece, sizeof piece) || FFile.gcount() > 0)
      FHeld.append(piece, static_cast<std::size_t>(FFile.gcount()));
    if (FFile.bad()) {
      FError = LastSystemError();
      return ReadFailure();
    }
    FBytes = FHeld;
  }
  return Opened(Start(head));
}

TTextFileResult TTextSource::OpenBytes(std::string_view bytes) {
  FBytes = bytes;
  return Opened(Start(bytes.substr(0, 4)));
}

TTextFileResult TTextSource::Opened(int code) const {
  if (FError) return ReadFailure();
  if (code == TextFileEncodingNotSupported)
    return {code, FName, "UTF-32 text in big-endian byte order"};
  return {code, FName, {}};
}

TTextFileResult TTextSource::ReadFailure() const {
  return {TextFileCannotOpen, FName, FError.message()};
}

int TTextSource::Start(std::string_view head) {
  FGuess = GuessEncoding(head);
  if (FGuess.Encoding == TTextEncoding::Utf32BE) return TextFileEncodingNotSupported;
  if (FGuess.Encoding == TTextEncoding::Utf8 && !ScanUtf8()) return TextFileCannotOpen;
  if (!SeekToText()) return TextFileCannotOpen;
  return TextFileRead;
}

bool TTextSource::SeekToText() {
  if (!FFromFile) {
    FMemoryPos = FGuess.MarkLength;
    return true;
  }
  FFile.clear();
  FFile.seekg(static_cast<std::streamoff>(FGuess.MarkLength));
  if (!FFile) FError = LastSystemError();
  return !FError;
}

bool TTextSource::ReadRaw(std::string& chunk, std::size_t size) {
  if (!FFromFile) {
    const std::size_t pos = std::min(FMemoryPos, FBytes.size());
    const std::string_view part = FBytes.substr(pos, size);
    chunk.append(part);
    FMemoryPos = pos + part.size();
    return true;
  }
  const std::size_t old = chunk.size();
  chunk.resize(old + size);
  errno = 0;
  FFile.read(chunk.data() + old, static_cast<std::streamsize>(size));
  chunk.resize(old + static_cast<std::size_t>(FFile.gcount()));
  if (FFile.bad()) {
    FError = LastSystemError();
    return false;
  }
  return true;
}

// An old GPX file in a Latin code page does not decode as UTF-8; its XML declaration usually
// says which code page it is, and Windows-1252 covers the rest of them. The whole text is
// checked before any of it is handed out, so a late stray byte still decodes the whole file.
bool TTextSource::ScanUtf8() {
  if (!SeekToText()) return false;
  std::string chunk, start;
  bool valid = true;
  for (bool atEnd = false; !atEnd && valid;) {
    const std::size_t carried = chunk.size();
    if (!ReadRaw(chunk, PieceSize)) return false;
    atEnd = chunk.size() - carried < PieceSize;
    if (const std::size_t nul = NulAt(chunk, 1); nul != std::string::npos) {
      chunk.resize(nul);
      atEnd = true;
    }
    if (start.empty()) start = chunk.substr(0, 4096);
    const std::size_t whole = atEnd ? chunk.size() : WholeSequences(chunk);
    valid = IsValidUtf8(std::string_view(chunk).substr(0, whole));
    chunk.erase(0, whole);
  }
  if (!valid) {
    FSingleByte = true;
    FCode = SingleByteCodeFor(DeclaredEncoding(start));
  }
  return true;
}

std::size_t TTextSource::DecodableLength(bool atEnd) const {
  const std::size_t unit = UnitSize(FGuess.Encoding);
  std::size_t length = FRaw.size() / unit * unit;
  if (atEnd || unit != 2 || length < 2) return length;
  // A high surrogate waits for the low one that may start the next piece.
  const bool bigEndian = FGuess.Encoding == TTextEncoding::Utf16BE;
  const unsigned high = static_cast<unsigned char>(FRaw[length - (bigEndian ? 2 : 1)]);
  return high >= 0xD8 && high <= 0xDB ? length - 2 : length;
}

bool TTextSource::Rewind() {
  FRaw.clear();
  FEnded = false;
  return SeekToText();
}

bool TTextSource::Next(std::string& piece) {
  piece.clear();
  if (FEnded) return false;
  const std::size_t carried = FRaw.size();
  if (!ReadRaw(FRaw, PieceSize)) {
    FEnded = true;
    return false;
  }
  bool atEnd = FRaw.size() - carried < PieceSize;
  if (const std::size_t nul = NulAt(FRaw, UnitSize(FGuess.Encoding)); nul != std::string::npos) {
    FRaw.resize(nul);
    atEnd = true;
  }
  const std::size_t length = DecodableLength(atEnd);
  const std::string_view bytes = std::string_view(FRaw).substr(0, length);
  switch (FGuess.Encoding) {
    case TTextEncoding::Utf8:
      if (FSingleByte) {
        piece = DecodeSingleByte(bytes, FCode);
      } else {
        piece.swap(FRaw);
        FRaw.clear();
      }
      break;
    case TTextEncoding::Utf16LE:
    case TTextEncoding::Utf16BE:
      piece = Utf16ToUtf8(bytes, FGuess.Encoding == TTextEncoding::Utf16BE);
      break;
    case TTextEncoding::Utf32LE:
      piece = Utf32LeToUtf8(bytes);
      break;
    case TTextEncoding::Utf32BE:
      break;
  }
  if (!FRaw.empty()) FRaw.erase(0, length);
  FEnded = atEnd;
  return true;
}

}  // namespace tarvola::gps
