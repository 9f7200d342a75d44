#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "gps/text_decode.h"
#include "gps/text_file.h"

namespace tarvola::gps {

// A text file (or bytes in memory) decoded to UTF-8 piece by piece, by the rules of
// DecodeTextFile: the encoding from the first four bytes, the byte-order mark skipped, the text
// cut at the first NUL, and UTF-8 that is not valid read again as the code page its XML
// declaration names. Only a pipe, which cannot be read twice, is held whole.
class TTextSource {
public:
  // What DecodeTextFile would give for the file, its reason included.
  TTextFileResult Open(const std::filesystem::path& fileName);
  // The same over bytes the caller keeps alive while the source is read.
  TTextFileResult OpenBytes(std::string_view bytes);

  // Starts again at the first piece (a pipe's bytes are held, so it can too).
  bool Rewind();

  // Replaces `piece` with the next decoded text; false at the end of the text or when reading
  // fails (then Error() is set).
  bool Next(std::string& piece);
  const std::error_code& Error() const { return FError; }
  // The file opened; empty for bytes in memory.
  const std::filesystem::path& Name() const { return FName; }
  // The failure Error() amounts to, for the file opened.
  TTextFileResult ReadFailure() const;

private:
  int Start(std::string_view head);
  TTextFileResult Opened(int code) const;
  bool SeekToText();
  // Raw bytes from the current position into `chunk`; false when reading fails.
  bool ReadRaw(std::string& chunk, std::size_t size);
  bool ScanUtf8();
  std::size_t DecodableLength(bool atEnd) const;

  std::filesystem::path FName;
  std::ifstream FFile;
  std::string FHeld;        // a pipe's bytes
  std::string_view FBytes;  // bytes in memory, when not read from FFile
  std::size_t FMemoryPos = 0;
  bool FFromFile = false;
  TEncodingGuess FGuess;
  bool FSingleByte = false;
  TSingleByteCode FCode = TSingleByteCode::Windows1252;
  std::string FRaw;  // undecoded bytes carried to the next piece
  bool FEnded = false;
  std::error_code FError;
};

}  // namespace tarvola::gps
