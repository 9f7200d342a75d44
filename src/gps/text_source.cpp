#include "gps/text_source.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "io/file_stream.h"
#include "io/system_text.h"

namespace tarvola::gps {

namespace {

// The file layer's codes are the system's own (GetLastError() on Windows).
std::error_code FileError(const io::EStreamError& error) {
  return error.Code() != 0 ? std::error_code(error.Code(), std::system_category())
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

TTextOpenResult TTextSource::Open(const std::filesystem::path& fileName) {
  FName = fileName;
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) {
    FError = std::make_error_code(std::errc::is_a_directory);
    return ReadFailure();
  }
  try {
    FFile.emplace(fileName, io::TFileMode::OpenRead);
  } catch (const io::EStreamError& error) {
    FError = FileError(error);
    return ReadFailure();
  }
  return Start();
}

TTextOpenResult TTextSource::OpenStream(std::FILE* stream, const std::filesystem::path& name) {
  FName = name;
  FStream = stream;
  return Start();
}

TTextOpenResult TTextSource::OpenBytes(std::string_view bytes) {
  FBytes = bytes;
  FFromMemory = true;
  return Start();
}

TTextOpenResult TTextSource::ReadFailure() const {
  return {TTextOpen::CannotOpen, FName, io::SystemErrorText(FError)};
}

// The first four bytes tell the encoding; they stay to be decoded with the rest, without a
// byte-order mark.
TTextOpenResult TTextSource::Start() {
  if (!ReadRaw(FRaw, 4)) return ReadFailure();
  FGuess = GuessEncoding(FRaw);
  if (FGuess.Encoding == TTextEncoding::Utf32BE)
    return {TTextOpen::EncodingNotSupported, FName, "UTF-32 text in big-endian byte order"};
  FRaw.erase(0, FGuess.MarkLength);
  return {TTextOpen::Opened, FName, {}};
}

bool TTextSource::ReadRaw(std::string& chunk, std::size_t size) {
  if (!ReadBytes(chunk, size)) return false;
  if (FWatch && !FWatch(FBytesRead)) {
    FStopped = true;
    FError = std::make_error_code(std::errc::operation_canceled);
    return false;
  }
  return true;
}

bool TTextSource::ReadBytes(std::string& chunk, std::size_t size) {
  if (FFromMemory) {
    const std::string_view part = FBytes.substr(0, size);
    chunk.append(part);
    FBytes.remove_prefix(part.size());
    FBytesRead += part.size();
    return true;
  }
  const std::size_t old = chunk.size();
  chunk.resize(old + size);
  std::size_t got = 0;
  if (FStream) {
    errno = 0;
    got = std::fread(chunk.data() + old, 1, size, FStream);
    if (std::ferror(FStream) != 0) FError = io::LastCrtError();
  } else if (!FFile) {
    FError = std::make_error_code(std::errc::bad_file_descriptor);  // read before a successful open
  } else {
    try {
      got = static_cast<std::size_t>(FFile->Read(chunk.data() + old, static_cast<std::int64_t>(size)));
    } catch (const io::EStreamError& error) {
      FError = FileError(error);
    }
  }
  chunk.resize(old + got);
  FBytesRead += got;
  return !FError;
}

std::size_t TTextSource::DecodableLength(bool atEnd) const {
  const std::size_t unit = UnitSize(FGuess.Encoding);
  std::size_t length = FRaw.size() / unit * unit;
  if (atEnd) return length;
  if (unit == 1) return WholeSequences(FRaw);
  if (unit != 2 || length < 2) return length;
  // A high surrogate waits for the low one that may start the next piece.
  const bool bigEndian = FGuess.Encoding == TTextEncoding::Utf16BE;
  const unsigned high = static_cast<unsigned char>(FRaw[length - (bigEndian ? 2 : 1)]);
  return high >= 0xD8 && high <= 0xDB ? length - 2 : length;
}

// Valid UTF-8 passes as it is; an old file in a Latin code page, or a stray byte in a UTF-8
// file, has its invalid bytes read by the code page its declaration names.
std::string TTextSource::DecodeUtf8(std::size_t length) {
  if (FStart.empty()) FStart = FRaw.substr(0, 4096);
  const std::string_view bytes = std::string_view(FRaw).substr(0, length);
  if (ValidUtf8Length(bytes) == length) {
    if (length == FRaw.size()) return std::exchange(FRaw, std::string());
    return std::string(bytes);
  }
  if (!FCode) FCode = SingleByteCodeFor(DeclaredEncoding(FStart));
  return RepairUtf8(bytes, *FCode);
}

bool TTextSource::Next(std::string& piece) {
  piece.clear();
  if (FEnded) return false;
  const std::size_t carried = FRaw.size();
  if (!ReadRaw(FRaw, TextPieceSize)) {
    FEnded = true;
    return false;
  }
  bool atEnd = FRaw.size() - carried < TextPieceSize;
  if (const std::size_t nul = NulAt(FRaw, UnitSize(FGuess.Encoding)); nul != std::string::npos) {
    FRaw.resize(nul);
    atEnd = true;
  }
  const std::size_t length = DecodableLength(atEnd);
  const std::string_view bytes = std::string_view(FRaw).substr(0, length);
  switch (FGuess.Encoding) {
    case TTextEncoding::Utf8:
      piece = DecodeUtf8(length);
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
  FRaw.erase(0, std::min(length, FRaw.size()));
  FEnded = atEnd;
  return true;
}

}  // namespace tarvola::gps
