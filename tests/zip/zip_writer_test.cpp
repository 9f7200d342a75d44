#include "zip/zip_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include "test_streams.h"
#include "test_support.h"
#include "zip/dos_time.h"
#include "io/file_stream.h"
#include "zip/zip_layout.h"

namespace tarvola::zip {
namespace {

namespace fs = std::filesystem;
using tarvola::test::ReadFile;
using tarvola::test::TTempFolder;
using tarvola::test::WriteFile;
using test::ZlibCrc;

// Reads little-endian fields in order, as a ZIP reader would.
class TFieldReader {
public:
  TFieldReader(const std::string& bytes, std::size_t at) : FBytes(bytes), FAt(at) {}
  std::uint32_t U(int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(FBytes.at(FAt + i))) << (8 * i);
    FAt += static_cast<std::size_t>(size);
    return value;
  }
  std::string Text(std::size_t size) {
    std::string text = FBytes.substr(FAt, size);
    FAt += size;
    return text;
  }
  std::size_t At() const { return FAt; }

private:
  const std::string& FBytes;
  std::size_t FAt;
};

void SetModified(const fs::path& path, std::time_t moment) {
  fs::last_write_time(path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(moment)));
}

struct TLayoutRow {
  const char* Name;
  std::size_t Size;
  bool Incompressible;
};

class Layout : public testing::TestWithParam<TLayoutRow> {};

TEST_P(Layout, EveryFieldOfTheArchive) {
  TTempFolder folder;
  const std::string content = GetParam().Incompressible ? test::RandomBytes(GetParam().Size, 31)
                                                        : test::TextBytes(GetParam().Size, 32);
  const fs::path source = folder.File("doc.kml");
  WriteFile(source, content);
  SetModified(source, 1'600'000'000);
  ASSERT_EQ(ZipSingleFile(source, folder.File("out.kmz")), ZipOk);
  const std::string archive = ReadFile(folder.File("out.kmz"));
  const std::uint32_t stamp = DateTimeToDosStamp(FileModifiedStamp(source));
  ASSERT_NE(stamp, 0u);
  const std::uint32_t crc = ZlibCrc(content);
  const auto uncompressed = static_cast<std::uint32_t>(content.size());

  TFieldReader local(archive, 0);
  EXPECT_EQ(local.U(4), 0x04034B50u);
  EXPECT_EQ(local.U(2), 20u);  // version needed
  EXPECT_EQ(local.U(2), 0u);   // flags: no data descriptor, no UTF-8 names
  EXPECT_EQ(local.U(2), 8u);   // deflate
  EXPECT_EQ(local.U(2), stamp & 0xFFFF);
  EXPECT_EQ(local.U(2), stamp >> 16);
  EXPECT_EQ(local.U(4), crc);
  const std::uint32_t c = local.U(4);
  EXPECT_EQ(local.U(4), uncompressed);
  EXPECT_EQ(local.U(2), 7u);
  EXPECT_EQ(local.U(2), 0u);
  EXPECT_EQ(local.Text(7), "doc.kml");
  ASSERT_EQ(archive.size(), 112u + c);
  EXPECT_EQ(test::Inflate(archive.data() + 37, c, -15), content);

  TFieldReader central(archive, 37 + c);
  EXPECT_EQ(central.U(4), 0x02014B50u);
  EXPECT_EQ(central.U(1), 0u);   // made by version 0.0
  EXPECT_EQ(central.U(1), 0u);   // on MS-DOS
  EXPECT_EQ(central.U(1), 20u);  // needed 2.0
  EXPECT_EQ(central.U(1), 0u);
  EXPECT_EQ(central.U(2), 0u);
  EXPECT_EQ(central.U(2), 8u);
  EXPECT_EQ(central.U(2), stamp & 0xFFFF);
  EXPECT_EQ(central.U(2), stamp >> 16);
  EXPECT_EQ(central.U(4), crc);
  EXPECT_EQ(central.U(4), c);
  EXPECT_EQ(central.U(4), uncompressed);
  EXPECT_EQ(central.U(2), 7u);     // name length
  EXPECT_EQ(central.U(2), 0u);     // extra
  EXPECT_EQ(central.U(2), 0u);     // comment
  EXPECT_EQ(central.U(2), 0u);     // disk start
  EXPECT_EQ(central.U(2), 1u);     // internal: text
  EXPECT_EQ(central.U(4), 0x20u);  // external: archive
  EXPECT_EQ(central.U(4), 0u);     // local header offset
  EXPECT_EQ(central.Text(7), "doc.kml");

  TFieldReader end(archive, central.At());
  EXPECT_EQ(end.U(4), 0x06054B50u);
  EXPECT_EQ(end.U(2), 0u);
  EXPECT_EQ(end.U(2), 0u);
  EXPECT_EQ(end.U(2), 1u);
  EXPECT_EQ(end.U(2), 1u);
  const std::uint32_t centralSize = end.U(4);
  const std::uint32_t centralOffset = end.U(4);
  EXPECT_EQ(centralSize, 46u + 7u);
  EXPECT_EQ(centralOffset, 30u + 7u + c);
  EXPECT_EQ(end.U(2), 0u);
  EXPECT_EQ(end.At(), archive.size());
  EXPECT_EQ(centralSize + centralOffset + 22u, archive.size());
}

INSTANTIATE_TEST_SUITE_P(Sources, Layout,
                         testing::Values(TLayoutRow{"Empty", 0, false}, TLayoutRow{"Small", 1000, false},
                                         TLayoutRow{"Text", 500000, false}, TLayoutRow{"Random", 150000, true}),
                         test::TRowName());

TEST(ZipSingleFile, EmptySourceGivesThe114ByteArchive) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), "");
  ASSERT_EQ(ZipSingleFile(folder.File("doc.kml"), folder.File("e.kmz")), ZipOk);
  const std::string archive = ReadFile(folder.File("e.kmz"));
  ASSERT_EQ(archive.size(), 114u);
  TFieldReader fields(archive, 14);
  EXPECT_EQ(fields.U(4), 0u);  // CRC
  EXPECT_EQ(fields.U(4), 2u);  // compressed
  EXPECT_EQ(fields.U(4), 0u);  // uncompressed
  EXPECT_EQ(archive.substr(37, 2), std::string("\x03\x00", 2));
}

TEST(ZipSingleFile, TimeBefore1980GivesZeroTimeAndDate) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), "old");
  SetModified(folder.File("doc.kml"), 173'000'000);  // June 1975
  ASSERT_EQ(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), ZipOk);
  const std::string archive = ReadFile(folder.File("a.kmz"));
  TFieldReader local(archive, 10);
  EXPECT_EQ(local.U(2), 0u);
  EXPECT_EQ(local.U(2), 0u);
  TFieldReader central(archive, archive.size() - 22 - 53 + 12);
  EXPECT_EQ(central.U(2), 0u);
  EXPECT_EQ(central.U(2), 0u);
}

TEST(ZipSingleFile, ReplacesAnExistingArchive) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), "new");
  WriteFile(folder.File("a.kmz"), std::string(100000, 'x'));
  ASSERT_EQ(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), ZipOk);
  EXPECT_EQ(fs::file_size(folder.File("a.kmz")), 112u + 5u);
}

// A sparse file: 4 GiB long without 4 GiB of disk.
bool MakeSparse(const fs::path& path, std::uintmax_t size) {
  WriteFile(path, "");
  std::error_code ec;
  fs::resize_file(path, size, ec);
  return !ec;
}

TEST(ZipSingleFile, SourceOf4GiBIsRefusedWithoutAnArchive) {
  TTempFolder folder;
  if (!MakeSparse(folder.File("doc.kml"), 0x100000000ull)) GTEST_SKIP() << "no sparse files in the temporary folder";
  const TZipResult result = ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz"));
  EXPECT_EQ(result.Code, ZipCompressionFailed);
  EXPECT_EQ(result.File, folder.File("doc.kml"));
  EXPECT_EQ(result.Reason, "4 GiB or more does not fit a ZIP archive");
  EXPECT_FALSE(fs::exists(folder.File("a.kmz")));
}

TEST(ZipSingleFile, RefusedSourceLeavesAnExistingArchiveAlone) {
  TTempFolder folder;
  if (!MakeSparse(folder.File("doc.kml"), 0x100000001ull)) GTEST_SKIP() << "no sparse files in the temporary folder";
  WriteFile(folder.File("a.kmz"), "previous archive");
  EXPECT_EQ(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), ZipCompressionFailed);
  EXPECT_EQ(ReadFile(folder.File("a.kmz")), "previous archive");
}

TEST(ZipSingleFile, FolderAsSourceLeavesNoArchive) {
  TTempFolder folder;
  fs::create_directory(folder.File("doc.kml"));
#ifdef _WIN32
  // Windows refuses to open a folder as a file ("Access is denied").
  EXPECT_THROW(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), io::EFOpenError);
#else
  // POSIX opens it, and every read fails.
  const TZipResult result = ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz"));
  EXPECT_EQ(result.Code, ZipCompressionFailed);
  EXPECT_EQ(result.Reason, "the file could not be compressed");
#endif
  EXPECT_FALSE(fs::exists(folder.File("a.kmz")));
}

TEST(ZipSingleFile, MissingSourceRaisesTheOpenError) {
  TTempFolder folder;
  EXPECT_THROW(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), io::EFOpenError);
  EXPECT_FALSE(fs::exists(folder.File("a.kmz")));
}

TEST(ZipSingleFile, UncreatableArchiveRaisesTheCreateError) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), "x");
  EXPECT_THROW(ZipSingleFile(folder.File("doc.kml"), folder.File("missing") / "a.kmz"), io::EFCreateError);
}

TEST(ZipSingleFileInto, WritesTheSameBytesIntoAStream) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), test::TextBytes(70000, 34));
  ASSERT_EQ(ZipSingleFile(folder.File("doc.kml"), folder.File("a.kmz")), ZipOk);
  io::TMemoryStream archive;
  ASSERT_EQ(ZipSingleFileInto(folder.File("doc.kml"), archive), ZipOk);
  EXPECT_EQ(test::Contents(archive), ReadFile(folder.File("a.kmz")));
}

enum class TRegion { LocalHeader, Data, CentralHeader, EndRecord };

std::string RegionName(TRegion region) {
  switch (region) {
    case TRegion::LocalHeader: return "LocalHeader";
    case TRegion::Data: return "Data";
    case TRegion::CentralHeader: return "CentralHeader";
    case TRegion::EndRecord: return "EndRecord";
  }
  return "Unknown";
}

class FailingWrite : public testing::TestWithParam<TRegion> {};

TEST_P(FailingWrite, RaisesTheWriteError) {
  TTempFolder folder;
  WriteFile(folder.File("doc.kml"), test::RandomBytes(1000, 35));
  io::TMemoryStream whole;
  ASSERT_EQ(ZipSingleFileInto(folder.File("doc.kml"), whole), ZipOk);
  const std::int64_t dataEnd = whole.Size() - 22 - 53;
  const std::int64_t limits[] = {20, 37 + 500, dataEnd + 10, whole.Size() - 1};
  test::TFailingStream archive(limits[static_cast<int>(GetParam())]);
  EXPECT_THROW(ZipSingleFileInto(folder.File("doc.kml"), archive), io::EWriteError);
}

INSTANTIATE_TEST_SUITE_P(Regions, FailingWrite,
                         testing::Values(TRegion::LocalHeader, TRegion::Data, TRegion::CentralHeader, TRegion::EndRecord),
                         [](const auto& row) { return RegionName(row.param); });

TEST(CompressToMemory, FailureIsFalseAndLeavesTheTargetAtZero) {
  test::TUnreadableStream source;
  io::TMemoryStream target;
  EXPECT_FALSE(CompressToMemory(source, target));
  EXPECT_EQ(target.Position(), 0);
}

TEST(CompressToMemory, CompressesFromTheStartWhateverThePosition) {
  io::TMemoryStream source;
  source.WriteBuffer("abcabcabcabc", 12);
  io::TMemoryStream target;
  ASSERT_TRUE(CompressToMemory(source, target));
  EXPECT_EQ(target.Position(), 0);
  EXPECT_EQ(test::Inflate(target.Memory(), static_cast<std::size_t>(target.Size()), -15), "abcabcabcabc");
}

}  // namespace
}  // namespace tarvola::zip
