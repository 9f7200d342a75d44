#include "zip/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "test_streams.h"
#include "test_support.h"
#include "io/file_stream.h"

namespace tarvola::zip {
namespace {

using test::MemoryOf;
using test::RandomBytes;
using test::TShrinkingStream;
using test::ZlibCrc;

std::uint32_t Finished(const std::string& bytes) {
  return ~UpdateCrc32(bytes.data(), static_cast<std::int32_t>(bytes.size()), 0xFFFFFFFFu);
}

TEST(Crc32, TableIsTheStandardReflectedOne) {
  const TCrcTable built = BuildCrcTable();
  EXPECT_EQ(built, CrcTable());
  EXPECT_EQ(built[0], 0u);
  EXPECT_EQ(built[1], 0x77073096u);
  EXPECT_EQ(built[255], 0x2D02EF8Du);
  const z_crc_t* zlibTable = get_crc_table();
  for (std::size_t i = 0; i < built.size(); ++i) EXPECT_EQ(built[i], zlibTable[i]) << "entry " << i;
}

TEST(Crc32, CheckValue) { EXPECT_EQ(Finished("123456789"), 0xCBF43926u); }

TEST(Crc32, NothingLeavesTheRegisterAlone) {
  const char byte = 'x';
  EXPECT_EQ(UpdateCrc32(&byte, 0, 0x12345678u), 0x12345678u);
  EXPECT_EQ(UpdateCrc32(&byte, -5, 0x12345678u), 0x12345678u);
}

TEST(Crc32, MatchesZlibOverRandomDataOfEveryAlignment) {
  const std::string data = RandomBytes(70000, 1);
  for (std::size_t offset : {0u, 1u, 3u, 7u})
    for (std::size_t length : {0u, 1u, 7u, 8u, 9u, 63u, 4096u, 65537u}) {
      const std::string part = data.substr(offset, length);
      EXPECT_EQ(Finished(part), ZlibCrc(part)) << "offset " << offset << " length " << length;
    }
}

TEST(Crc32, RegisterCarriesAcrossCalls) {
  const std::string data = RandomBytes(10001, 2);
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t at = 0; at < data.size(); at += 333)
    crc = UpdateCrc32(data.data() + at, static_cast<std::int32_t>(std::min<std::size_t>(333, data.size() - at)), crc);
  EXPECT_EQ(~crc, ZlibCrc(data));
}

TEST(Crc32, EmptyStreamAndStreamAtItsEndGiveZero) {
  io::TMemoryStream empty;
  EXPECT_EQ(FileCrc32(empty), 0u);
  io::TMemoryStream full = MemoryOf("some bytes");
  full.Seek(0, io::TSeekOrigin::End);
  EXPECT_EQ(FileCrc32(full), 0u);
}

TEST(Crc32, StreamCountStopsInsideAChunk) {
  const std::string data = RandomBytes(10000, 3);
  io::TMemoryStream stream = MemoryOf(data);
  const std::uint32_t crc = StreamCrc32(stream, 0xFFFFFFFFu, 4096, 5000);
  EXPECT_EQ(~crc, ZlibCrc(data.substr(0, 5000)));
}

TEST(Crc32, ZeroCountUsesNothing) {
  io::TMemoryStream stream = MemoryOf("abc");
  EXPECT_EQ(StreamCrc32(stream, 0x55AA55AAu, 16, 0), 0x55AA55AAu);
}

class FileCrcOfLength : public testing::TestWithParam<std::size_t> {};

TEST_P(FileCrcOfLength, EqualsTheCrcOfTheWholeFile) {
  tarvola::test::TTempFolder folder;
  const std::string data = RandomBytes(GetParam(), static_cast<unsigned>(GetParam()));
  tarvola::test::WriteFile(folder.File("data.bin"), data);
  io::TFileStream file(folder.File("data.bin"), io::TFileMode::OpenRead);
  EXPECT_EQ(FileCrc32(file), ZlibCrc(data));
  EXPECT_EQ(file.Position(), static_cast<std::int64_t>(data.size()));
}

INSTANTIATE_TEST_SUITE_P(Lengths, FileCrcOfLength,
                         testing::Values(0, 1, 4095, 4096, 4097, 8192, 8193, 3 * 4096),
                         [](const auto& row) { return "Bytes" + std::to_string(row.param); });

TEST(Crc32, FileCrcCoversOnlyWhatFollowsThePosition) {
  tarvola::test::TTempFolder folder;
  const std::string data = RandomBytes(9000, 4);
  tarvola::test::WriteFile(folder.File("data.bin"), data);
  io::TFileStream file(folder.File("data.bin"), io::TFileMode::OpenRead);
  file.SetPosition(1234);
  EXPECT_EQ(FileCrc32(file), ZlibCrc(data.substr(1234)));
}

TEST(Crc32, StreamThatEndsEarlyRaisesInsteadOfLooping) {
  TShrinkingStream shrunk(RandomBytes(5000, 5), 20000);
  EXPECT_THROW(FileCrc32(shrunk), io::EReadError);
  EXPECT_LE(shrunk.Reads, 3);
}

TEST(Crc32, StreamThatEndsAtOnceRaises) {
  TShrinkingStream empty("", 100);
  EXPECT_THROW(StreamCrc32(empty, 0, 4096, -1), io::EReadError);
  EXPECT_EQ(empty.Reads, 1);
}

}  // namespace
}  // namespace tarvola::zip
