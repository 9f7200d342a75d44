#include "zip/compression.h"

#include <zlib.h>

namespace tarvola::zip {

std::string CompressionErrorText(int code) {
  switch (code) {
    case Z_OK: return "No error";
    case Z_STREAM_END: return "Stream end";
    case Z_NEED_DICT: return "Need dictionary";
    case Z_ERRNO: return "Errno";
    case Z_STREAM_ERROR: return "Stream error";
    case Z_DATA_ERROR: return "Data error";
    case Z_MEM_ERROR: return "Memory error";
    case Z_BUF_ERROR: return "Buffer error";
    case Z_VERSION_ERROR: return "Version error";
    default: return "Unknown error " + std::to_string(code);
  }
}

int CheckCompression(int code) {
  if (code < 0) throw ECompressionError(CompressionErrorText(code));
  return code;
}

}  // namespace tarvola::zip
