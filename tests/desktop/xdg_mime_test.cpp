#include "desktop/xdg_mime.h"

#include <gtest/gtest.h>

#include "xdg_fixture.h"

namespace tarvola::desktop::xdg {
namespace {

using test::TXdgFixture;

TEST(XdgMimeTest, HighestWeightWins) {
  TXdgFixture xdg;
  xdg.Write(xdg.DataDir() / "mime" / "globs2",
            "# comment\n50:application/xhtml+xml:*.htm\n80:text/html:*.htm\n50:application/vnd.google-earth.kmz:*.kmz\n");
  TXdgDirs dirs = XdgDirsFromEnvironment();
  EXPECT_EQ(MimeTypeForExtension(dirs, ".htm"), "text/html");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".kmz"), "application/vnd.google-earth.kmz");
}

TEST(XdgMimeTest, LetterCaseIgnoredUnlessTheGlobSaysSo) {
  TXdgFixture xdg;
  xdg.Write(xdg.DataDir() / "mime" / "globs2", "50:text/x-upper:*.C:cs\n50:text/x-lower:*.c:cs\n50:a/kmz:*.kmz\n");
  TXdgDirs dirs = XdgDirsFromEnvironment();
  EXPECT_EQ(MimeTypeForExtension(dirs, ".KMZ"), "a/kmz");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".C"), "text/x-upper");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".c"), "text/x-lower");
}

TEST(XdgMimeTest, LongerPatternWinsAtEqualWeight) {
  TXdgFixture xdg;
  xdg.Write(xdg.DataDir() / "mime" / "globs2", "50:application/gzip:*.gz\n50:application/x-compressed-tar:*.tar.gz\n");
  EXPECT_EQ(MimeTypeForExtension(XdgDirsFromEnvironment(), ".tar.gz"), "application/x-compressed-tar");
}

TEST(XdgMimeTest, UserDatabaseComesFirstAndNoGlobsHidesTheSystemOnes) {
  TXdgFixture xdg;
  xdg.Write(xdg.DataDir() / "mime" / "globs2", "50:text/html:*.htm\n50:application/x-old:*.trk\n");
  xdg.Write(xdg.DataHome() / "mime" / "globs2", "50:application/x-mine:*.htm\n50:application/x-old:__NOGLOBS__\n");
  TXdgDirs dirs = XdgDirsFromEnvironment();
  EXPECT_EQ(MimeTypeForExtension(dirs, ".htm"), "application/x-mine");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".trk"), "");
}

TEST(XdgMimeTest, OlderGlobsFileWhenThereIsNoGlobs2) {
  TXdgFixture xdg;
  xdg.Write(xdg.DataDir() / "mime" / "globs", "application/vnd.google-earth.kml+xml:*.kml\n");
  EXPECT_EQ(MimeTypeForExtension(XdgDirsFromEnvironment(), ".kml"), "application/vnd.google-earth.kml+xml");
}

TEST(XdgMimeTest, OwnTypesKnownWithoutADatabase) {
  TXdgFixture xdg;
  TXdgDirs dirs = XdgDirsFromEnvironment();
  EXPECT_EQ(MimeTypeForExtension(dirs, ".htm"), "text/html");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".KMZ"), "application/vnd.google-earth.kmz");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".xyz"), "");
}

TEST(XdgMimeTest, SystemDatabaseKnowsBothTypes) {
  if (!std::filesystem::exists("/usr/share/mime/globs2")) GTEST_SKIP() << "no shared MIME database installed";
  TXdgFixture xdg;
  TXdgFixture::SetEnv("XDG_DATA_DIRS", "/usr/share");
  TXdgDirs dirs = XdgDirsFromEnvironment();
  EXPECT_EQ(MimeTypeForExtension(dirs, ".htm"), "text/html");
  EXPECT_EQ(MimeTypeForExtension(dirs, ".kmz"), "application/vnd.google-earth.kmz");
}

}  // namespace
}  // namespace tarvola::desktop::xdg
