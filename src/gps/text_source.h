#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "gps/text_decode.h"
#include "io/file_stream.h"
#include "io/progress.h"
#include "io/result.h"

namespace tarvola::gps {

enum class TTextOpen {
  Opened,
  CannotOpen,            // with the system's reason
  EncodingNotSupported,  // big-endian UTF-32
};
using TTextOpenResult = io::TResult<TTextOpen>;

// How much of the input is read and decoded at a time.
inline constexpr std::size_t TextPieceSize = 256 * 1024;

// A text file, a stream such as standard input, or bytes in memory, decoded to UTF-8 piece by
// piece as it is read, once: the encoding from the first four bytes, the byte-order mark
// skipped, the text cut at the first NUL. In UTF-8 text a byte that starts no valid sequence is
// read as a character of the code page the XML declaration names (Windows-1252 by default), and
// every valid sequence stays as it is.
class TTextSource {
public:
  TTextOpenResult Open(const std::filesystem::path& fileName);
  // A stream opened for reading in binary mode (the caller's), named `name` in messages.
  TTextOpenResult OpenStream(std::FILE* stream, const std::filesystem::path& name);
  // The same over bytes the caller keeps alive while the source is read.
  TTextOpenResult OpenBytes(std::string_view bytes);

  // Replaces `piece` with the next decoded text; false at the end of the text or when reading
  // fails (then Error() is set).
  bool Next(std::string& piece);
  const std::error_code& Error() const { return FError; }
  // The file opened; empty for bytes in memory.
  const std::filesystem::path& Name() const { return FName; }
  // The failure Error() amounts to, for the file opened.
  TTextOpenResult ReadFailure() const;

  // Told the bytes read so far after every read; when it answers false, reading fails as
  // cancelled (Stopped()).
  void Watch(io::TProgressWatch watch) { FWatch = std::move(watch); }
  bool Stopped() const { return FStopped; }

private:
  TTextOpenResult Start();
  // Raw bytes appended to `chunk`; false when reading fails or the watch stops it.
  bool ReadRaw(std::string& chunk, std::size_t size);
  bool ReadBytes(std::string& chunk, std::size_t size);
  std::size_t DecodableLength(bool atEnd) const;
  std::string DecodeUtf8(std::size_t length);

  std::filesystem::path FName;
  std::optional<io::TFileStream> FFile;
  std::FILE* FStream = nullptr;
  std::string_view FBytes;  // bytes in memory, when read from neither
  bool FFromMemory = false;
  TEncodingGuess FGuess;
  std::string FStart;  // the text's first bytes, where the XML declaration names a code page
  std::optional<TSingleByteCode> FCode;
  std::string FRaw;  // undecoded bytes carried to the next piece
  bool FEnded = false;
  std::error_code FError;
  io::TProgressWatch FWatch;
  std::uint64_t FBytesRead = 0;
  bool FStopped = false;
};

}  // namespace tarvola::gps
