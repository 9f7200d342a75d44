#include "zip/entry_name.h"

#include <gtest/gtest.h>

namespace tarvola::zip {
namespace {

struct TNameRow {
  const char* Name;
  const char* Path;
  std::string Expected;
};

class EntryName : public testing::TestWithParam<TNameRow> {};

TEST_P(EntryName, IsTheFinalComponentInCodePage437) {
  EXPECT_EQ(EntryNameOf(GetParam().Path), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, EntryName,
    testing::Values(TNameRow{"Plain", "doc.kml", "doc.kml"},
                    TNameRow{"InTempFolder", "/tmp/tarvola-save-1234/doc.kml", "doc.kml"},
                    TNameRow{"Backslash", "C:\\Users\\me\\AppData\\Local\\Temp\\doc.kml", "doc.kml"},
                    TNameRow{"DriveColon", "C:doc.kml", "doc.kml"},
                    TNameRow{"Accents", "/t/Z\xC3\xBCrich-caf\xC3\xA9.kml", "Z\x81rich-caf\x82.kml"},
                    TNameRow{"GreekAndSymbols", "\xCE\xB1\xC2\xB0\xC2\xB1.kml", "\xE0\xF8\xF1.kml"},
                    TNameRow{"NotInThePage", "\xE6\x97\xA5\xE6\x9C\xAC.kml", "__.kml"},
                    TNameRow{"Emoji", "\xF0\x9F\x9A\xB2.kml", "_.kml"},
                    TNameRow{"NotUtf8", "a\xFF\xC3.kml", "a__.kml"},
                    TNameRow{"Overlong", "\xC0\xAF.kml", "__.kml"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace tarvola::zip
