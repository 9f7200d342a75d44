#pragma once

#include <stdexcept>
#include <string>

namespace tarvola::zip {

class EZlibError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};
class ECompressionError : public EZlibError {
  using EZlibError::EZlibError;
};

std::string CompressionErrorText(int code);
// A negative zlib code raises ECompressionError with its text; others come back unchanged.
int CheckCompression(int code);

}  // namespace tarvola::zip
