#include "zip/entry_name.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace tarvola::zip {
namespace {

struct TNameRow {
  const char* Name;
  const char* Path;
  std::string Expected;
};

class EntryName : public testing::TestWithParam<TNameRow> {};

TEST_P(EntryName, IsTheFinalComponentInCodePage437) {
  EXPECT_EQ(EntryNameOf(test::Utf8Path(GetParam().Path)), GetParam().Expected);
}

std::vector<TNameRow> NameRows() {
  std::vector<TNameRow> rows = {
      {"Plain", "doc.kml", "doc.kml"},
      {"InTempFolder", "/tmp/tarvola-save-1234/doc.kml", "doc.kml"},
      {"Backslash", "C:\\Users\\me\\AppData\\Local\\Temp\\doc.kml", "doc.kml"},
      {"DriveColon", "C:doc.kml", "doc.kml"},
      {"Accents", "/t/Z\xC3\xBCrich-caf\xC3\xA9.kml", "Z\x81rich-caf\x82.kml"},
      {"GreekAndSymbols", "\xCE\xB1\xC2\xB0\xC2\xB1.kml", "\xE0\xF8\xF1.kml"},
      {"NotInThePage", "\xE6\x97\xA5\xE6\x9C\xAC.kml", "__.kml"},
      {"Emoji", "\xF0\x9F\x9A\xB2.kml", "_.kml"},
  };
#ifndef _WIN32
  // Only POSIX names can hold bytes that are not UTF-8; Windows names are UTF-16.
  rows.push_back({"NotUtf8", "a\xFF\xC3.kml", "a__.kml"});
  rows.push_back({"Overlong", "\xC0\xAF.kml", "__.kml"});
#endif
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Paths, EntryName, testing::ValuesIn(NameRows()),
                         test::TRowName());

}  // namespace
}  // namespace tarvola::zip
