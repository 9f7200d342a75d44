#include "io/stream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "test_streams.h"
#include "test_support.h"
#include "io/file_stream.h"
#include "io/system_text.h"

namespace tarvola::io {
namespace {

namespace fs = std::filesystem;

TEST(MemoryStream, WritesReadsAndSeeks) {
  TMemoryStream stream;
  stream.WriteBuffer("hello world", 11);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_EQ(stream.Position(), 11);
  EXPECT_EQ(stream.Seek(-5, TSeekOrigin::End), 6);
  char word[6] = {};
  EXPECT_EQ(stream.Read(word, 10), 5);
  EXPECT_STREQ(word, "world");
  EXPECT_EQ(stream.Read(word, 1), 0);
  EXPECT_EQ(stream.Seek(-100, TSeekOrigin::Current), 0);
  stream.SetPosition(6);
  stream.WriteBuffer("there!", 6);
  EXPECT_EQ(test::Contents(stream), "hello there!");
}

TEST(MemoryStream, KeepsContentWhileGrowingAndCutsThePosition) {
  TMemoryStream stream;
  const std::string data = test::RandomBytes(300000, 21);
  for (std::size_t at = 0; at < data.size(); at += 1000)
    stream.WriteBuffer(data.data() + at, static_cast<std::int64_t>(std::min<std::size_t>(1000, data.size() - at)));
  EXPECT_EQ(test::Contents(stream), data);
  stream.SetSize(100);
  EXPECT_EQ(stream.Position(), 100);
  EXPECT_EQ(test::Contents(stream), data.substr(0, 100));
}

TEST(MemoryStream, GrowingShowsZeros) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetSize(1);
  stream.SetSize(200000);
  EXPECT_EQ(test::Contents(stream), "a" + std::string(199999, '\0'));
  stream.SetPosition(300000);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(test::Contents(stream).substr(200000), std::string(100000, '\0') + "z");
}

TEST(MemoryStream, ShortReadBufferRaises) {
  TMemoryStream stream;
  stream.WriteBuffer("abc", 3);
  stream.SetPosition(0);
  char buffer[8];
  EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
}

TEST(Stream, ShortWriteRaisesTheWriteError) {
  test::TFailingStream stream(5);
  try {
    stream.WriteBuffer("0123456789", 10);
    FAIL() << "no error raised";
  } catch (const EWriteError& error) {
    EXPECT_STREQ(error.what(), "Stream write error");
  }
}

TEST(Stream, CopyFromCopiesTheRest) {
  TMemoryStream source;
  const std::string data = test::RandomBytes(200000, 22);
  source.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
  source.SetPosition(10);
  TMemoryStream target;
  EXPECT_EQ(target.CopyFrom(source, -1), 199990);
  EXPECT_EQ(test::Contents(target), data.substr(10));
}

TEST(FileStream, CreatesWritesAndReadsBack) {
  tarvola::test::TTempFolder folder;
  {
    TFileStream file(folder.File("a.bin"), TFileMode::Create);
    file.WriteBuffer("abcdef", 6);
    file.SetSize(4);
    EXPECT_EQ(file.Size(), 4);
    EXPECT_EQ(file.Position(), 4);
    file.Flush();
    file.Close();
  }
  EXPECT_EQ(tarvola::test::ReadFile(folder.File("a.bin")), "abcd");
  TFileStream file(folder.File("a.bin"), TFileMode::OpenRead);
  char buffer[8] = {};
  file.SetPosition(1);
  EXPECT_EQ(file.Read(buffer, 8), 3);
  EXPECT_STREQ(buffer, "bcd");
}

TEST(FileStream, CreateTruncatesAnExistingFile) {
  tarvola::test::TTempFolder folder;
  tarvola::test::WriteFile(folder.File("a.bin"), "old content");
  TFileStream file(folder.File("a.bin"), TFileMode::Create);
  EXPECT_EQ(file.Size(), 0);
}

// The system's codes for the failures below.
#ifdef _WIN32
constexpr int NoSuchFile = 2;    // ERROR_FILE_NOT_FOUND
constexpr int NameTaken = 80;    // ERROR_FILE_EXISTS
std::string ReasonText(int code) { return SystemErrorText(code); }
#else
constexpr int NoSuchFile = ENOENT;
constexpr int NameTaken = EEXIST;
std::string ReasonText(int code) { return std::strerror(code); }
#endif

TEST(FileStream, OpenErrorNamesTheAbsolutePathAndTheReason) {
  tarvola::test::TTempFolder folder;
  const fs::path missing = folder.File("missing.kml");
  try {
    TFileStream file(missing, TFileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + PathText(missing) + "\". " + ReasonText(NoSuchFile));
    EXPECT_EQ(error.Code(), NoSuchFile);
  }
}

TEST(FileStream, CreateNewRefusesAnExistingName) {
  tarvola::test::TTempFolder folder;
  tarvola::test::WriteFile(folder.File("taken"), "x");
  try {
    TFileStream file(folder.File("taken"), TFileMode::CreateNew);
    FAIL() << "replaced an existing file";
  } catch (const EFCreateError& error) {
    EXPECT_EQ(error.Code(), NameTaken);
  }
  EXPECT_EQ(tarvola::test::ReadFile(folder.File("taken")), "x");
}

// The system's reason reaches the message: a full disk, as /dev/full always is.
TEST(FileStream, WriteTheSystemRefusesRaisesItsCode) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  TFileStream full("/dev/full", TFileMode::Create);
  const char text[] = "doc";
  try {
    full.WriteBuffer(text, 3);
    FAIL() << "wrote to a full device";
  } catch (const EWriteError& error) {
    EXPECT_EQ(error.Code(), ENOSPC);
  }
}

TEST(FileStream, ReadingADirectoryRaisesTheReadError) {
  tarvola::test::TTempFolder folder;
#ifdef _WIN32
  // Windows refuses to open a folder as a file ("Access is denied").
  EXPECT_THROW(TFileStream(folder.Path(), TFileMode::OpenRead), EFOpenError);
#else
  TFileStream directory(folder.Path(), TFileMode::OpenRead);
  char buffer[4];
  EXPECT_THROW(directory.Read(buffer, 4), EReadError);
#endif
}

}  // namespace
}  // namespace tarvola::io
