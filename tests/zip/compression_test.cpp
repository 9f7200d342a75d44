#include "zip/compression.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::zip {
namespace {

struct TErrorTextRow {
  const char* Name;
  int Code;
  const char* Text;
};

class ErrorText : public testing::TestWithParam<TErrorTextRow> {};

TEST_P(ErrorText, IsTheFixedEnglishText) {
  EXPECT_EQ(CompressionErrorText(GetParam().Code), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Codes, ErrorText,
                         testing::Values(TErrorTextRow{"Ok", 0, "No error"}, TErrorTextRow{"StreamEnd", 1, "Stream end"},
                                         TErrorTextRow{"NeedDict", 2, "Need dictionary"},
                                         TErrorTextRow{"Errno", -1, "Errno"},
                                         TErrorTextRow{"StreamError", -2, "Stream error"},
                                         TErrorTextRow{"DataError", -3, "Data error"},
                                         TErrorTextRow{"MemError", -4, "Memory error"},
                                         TErrorTextRow{"BufError", -5, "Buffer error"},
                                         TErrorTextRow{"VersionError", -6, "Version error"},
                                         TErrorTextRow{"Seven", 7, "Unknown error 7"},
                                         TErrorTextRow{"MinusSeven", -7, "Unknown error -7"}),
                         test::TRowName());

TEST(CheckCompression, PassesNonNegativeCodes) {
  EXPECT_EQ(CheckCompression(0), 0);
  EXPECT_EQ(CheckCompression(1), 1);
  EXPECT_EQ(CheckCompression(2), 2);
}

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
