#include "zip/zip_stream_writer.h"

#include <gtest/gtest.h>

#include "test_streams.h"
#include "test_support.h"
#include "zip/zip_layout.h"

namespace tarvola::zip {
namespace {

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

struct TLayoutRow {
  const char* Name;
  std::size_t Size;
  bool Incompressible;
  std::size_t Pieces;  // handed over one after another, crossing the compression queue's limit
  io::THelperThreads Helpers = io::THelperThreads::Allowed;
};

// The archive of `content` handed to the writer in `pieces` nearly equal pieces.
std::string Packed(const std::string& content, std::size_t pieces, std::uint32_t stamp,
                   io::THelperThreads helpers = io::THelperThreads::Allowed) {
  io::TMemoryStream stream;
  TZipEntryWriter writer(stream, "doc.kml", helpers);
  const std::size_t size = content.size() / pieces + 1;
  for (std::size_t at = 0; at < content.size(); at += size) writer.Write(content.substr(at, size));
  EXPECT_TRUE(writer.Finish(stamp));
  return test::Contents(stream);
}

class Layout : public testing::TestWithParam<TLayoutRow> {};

TEST_P(Layout, EveryFieldOfTheArchive) {
  const std::string content = GetParam().Incompressible ? test::RandomBytes(GetParam().Size, 31)
                                                        : test::TextBytes(GetParam().Size, 32);
  const std::uint32_t stamp = 0x5A3C7B21;
  const std::string archive = Packed(content, GetParam().Pieces, stamp, GetParam().Helpers);
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

INSTANTIATE_TEST_SUITE_P(
    Sources, Layout,
    testing::Values(TLayoutRow{"Empty", 0, false, 1}, TLayoutRow{"Small", 1000, false, 1},
                    TLayoutRow{"Text", 500000, false, 1},
                    TLayoutRow{"TextAtTheQueueLimit", 500000, false, EntryQueueLimit},
                    TLayoutRow{"TextPastTheQueueLimit", 2000000, false, EntryQueueLimit + 1},
                    TLayoutRow{"TextManyTimesTheQueueLimit", 3000000, false, 7 * EntryQueueLimit + 3},
                    TLayoutRow{"Random", 150000, true, 1},
                    TLayoutRow{"RandomManyTimesTheQueueLimit", 1500000, true, 5 * EntryQueueLimit},
                    TLayoutRow{"EmptyOnTheCallersThread", 0, false, 1, io::THelperThreads::None},
                    TLayoutRow{"TextOnTheCallersThread", 2000000, false, 9, io::THelperThreads::None}),
    test::TRowName());

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

// The compressor's write error reaches the producer, from Write or from Finish, whether the
// compressor runs on a thread of its own or not.
TEST_P(FailingWrite, RaisesTheWriteError) {
  const std::string content = test::RandomBytes(1000, 35);
  const auto whole = static_cast<std::int64_t>(Packed(content, 1, 0).size());
  const std::int64_t dataEnd = whole - 22 - 53;
  const std::int64_t limits[] = {20, 37 + 500, dataEnd + 10, whole - 1};
  for (io::THelperThreads helpers : {io::THelperThreads::Allowed, io::THelperThreads::None}) {
    test::TFailingStream archive(limits[static_cast<int>(GetParam())]);
    EXPECT_THROW(
        {
          TZipEntryWriter writer(archive, "doc.kml", helpers);
          writer.Write(std::string(content));
          writer.Finish(0);
        },
        io::EWriteError);
  }
}

INSTANTIATE_TEST_SUITE_P(Regions, FailingWrite,
                         testing::Values(TRegion::LocalHeader, TRegion::Data, TRegion::CentralHeader, TRegion::EndRecord),
                         [](const auto& row) { return RegionName(row.param); });

}  // namespace
}  // namespace tarvola::zip
