#include "io/system_text.h"

#include <gtest/gtest.h>

#include "test_support.h"
#include "io/file_stream.h"

namespace tarvola::io {
namespace {

namespace fs = std::filesystem;
using tarvola::test::TTempFolder;
using tarvola::test::WriteFile;

// The code the stream raised for a path, with its message.
struct TRaised {
  int Code = 0;
  std::string Message;
};

TRaised RaisedBy(const fs::path& path, TFileMode mode) {
  try {
    TFileStream file(path, mode);
  } catch (const EStreamError& error) {
    return {error.Code(), error.what()};
  }
  return {0, "(nothing raised)"};
}

TEST(IsNameTaken, IsTheReasonCreateNewGivesForAnExistingName) {
  TTempFolder folder;
  WriteFile(folder.File("taken"), "x");
  const TRaised raised = RaisedBy(folder.File("taken"), TFileMode::CreateNew);
  ASSERT_NE(raised.Code, 0) << raised.Message;
  EXPECT_TRUE(IsNameTaken(raised.Code)) << raised.Message;
}

TEST(IsNameTaken, IsNotTheReasonForAMissingFolder) {
  TTempFolder folder;
  const TRaised raised = RaisedBy(folder.File("nowhere") / "new", TFileMode::CreateNew);
  ASSERT_NE(raised.Code, 0) << raised.Message;
  EXPECT_FALSE(IsNameTaken(raised.Code)) << raised.Message;
}

// The save routine builds its messages with FileErrorText; they must read as the stream's do.
TEST(FileErrorText, IsTheMessageTheStreamRaises) {
  TTempFolder folder;
  const fs::path missing = folder.File("missing.kml");
  const TRaised opened = RaisedBy(missing, TFileMode::OpenRead);
  EXPECT_EQ(FileErrorText("Cannot open file", missing, opened.Code), opened.Message);
  const fs::path unplaced = folder.File("nowhere") / "a.kmz";
  const TRaised created = RaisedBy(unplaced, TFileMode::Create);
  EXPECT_EQ(FileErrorText("Cannot create file", unplaced, created.Code), created.Message);
}

TEST(FileErrorText, NamesARelativePathByItsAbsoluteOne) {
  const TRaised raised = RaisedBy("surely-not-here.kml", TFileMode::OpenRead);
  const std::string text = FileErrorText("Cannot open file", "surely-not-here.kml", raised.Code);
  EXPECT_EQ(text.rfind("Cannot open file \"" + PathText(fs::current_path() / "surely-not-here.kml") + "\". ", 0), 0u)
      << text;
}

TEST(SystemErrorText, IsOneLineWithTheReason) {
  TTempFolder folder;
  const TRaised raised = RaisedBy(folder.File("missing"), TFileMode::OpenRead);
  const std::string text = SystemErrorText(raised.Code);
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  EXPECT_NE(raised.Message.find(text), std::string::npos) << raised.Message;
}

TEST(PathText, IsUtf8AndNamesTheSameFile) {
  TTempFolder folder;
  const fs::path path = folder.Path() / fs::path(u8"H\u00fctte \u2192 Gipfel.gpx");
  WriteFile(path, "x");
  const std::string text = PathText(path);
  EXPECT_NE(text.find("H\xC3\xBCtte \xE2\x86\x92 Gipfel.gpx"), std::string::npos) << text;
  const std::u8string asUtf8(text.begin(), text.end());
  EXPECT_TRUE(fs::equivalent(fs::path(asUtf8), path));
}

}  // namespace
}  // namespace tarvola::io
