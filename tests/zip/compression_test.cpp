#include "zip/compression.h"

#include <gtest/gtest.h>

namespace tarvola::zip {
namespace {

// zlib's failures reach the user as the reason of a failed KMZ save: in words, not numbers.
TEST(CheckCompression, RaisesNegativeCodesWithTheirText) {
  try {
    CheckCompression(-3);
    FAIL() << "no error raised";
  } catch (const ECompressionError& error) {
    EXPECT_STREQ(error.what(), "Data error");
  }
  EXPECT_THROW(CheckCompression(-4), EZlibError);
}

}  // namespace
}  // namespace tarvola::zip
