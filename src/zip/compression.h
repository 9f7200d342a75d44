#pragma once

#include <string>

#include "io/stream.h"

namespace tarvola::zip {

enum class TCompressionLevel { LevelNone, LevelFastest, LevelDefault, LevelMax };
enum class TStreamFormat { ZlibFormat, GzipFormat, RawDeflate };

class EZlibError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};
class ECompressionError : public EZlibError {
  using EZlibError::EZlibError;
};

std::string CompressionErrorText(int code);
// A negative zlib code raises ECompressionError with its text; others come back unchanged.
int CheckCompression(int code);

// Deflates everything from the source's position to its end into the target at its position.
// A memory source is read in place; with directOutput a memory target is written in place.
// Afterwards the source stands after the bytes compressed and the target after the output.
void CompressStream(io::TStream& source, io::TStream& target, TCompressionLevel level, bool directOutput,
                    TStreamFormat format);

}  // namespace tarvola::zip
