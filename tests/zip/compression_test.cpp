#include "zip/compression.h"

#include <gtest/gtest.h>

#include "test_streams.h"
#include "test_support.h"
#include "io/file_stream.h"

namespace tarvola::zip {
namespace {

using test::Contents;
using test::Inflate;
using test::MemoryOf;

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

// All of `data` compressed straight into memory.
io::TMemoryStream Packed(const std::string& data, TCompressionLevel level = TCompressionLevel::LevelDefault,
                     TStreamFormat format = TStreamFormat::RawDeflate) {
  io::TMemoryStream source = MemoryOf(data);
  io::TMemoryStream target;
  CompressStream(source, target, level, true, format);
  return target;
}

TEST(CompressStream, EmptySourceGivesTheTwoByteRawStream) {
  io::TMemoryStream source;
  io::TMemoryStream target;
  CompressStream(source, target, TCompressionLevel::LevelDefault, true, TStreamFormat::RawDeflate);
  EXPECT_EQ(target.Size(), 2);
  EXPECT_EQ(target.Position(), 2);
  EXPECT_EQ(Contents(target), std::string("\x03\x00", 2));
}

enum class TSourceKind { Memory, File };
enum class TTargetKind { MemoryDirect, MemoryBuffered, File };

struct TRoundTripRow {
  const char* Name;
  std::size_t Size;
  bool Incompressible;
  TSourceKind Source;
  TTargetKind Target;
};

class RoundTrip : public testing::TestWithParam<TRoundTripRow> {};

TEST_P(RoundTrip, InflatesBackToTheSource) {
  const TRoundTripRow& row = GetParam();
  const std::string data = row.Incompressible ? test::RandomBytes(row.Size, 11) : test::TextBytes(row.Size, 12);
  tarvola::test::TTempFolder folder;
  tarvola::test::WriteFile(folder.File("in.bin"), data);

  io::TMemoryStream memorySource = MemoryOf(data);
  io::TFileStream fileSource(folder.File("in.bin"), io::TFileMode::OpenRead);
  io::TStream& source = row.Source == TSourceKind::Memory ? static_cast<io::TStream&>(memorySource) : fileSource;
  io::TMemoryStream memoryTarget;
  io::TFileStream fileTarget(folder.File("out.bin"), io::TFileMode::Create);
  io::TStream& target = row.Target == TTargetKind::File ? static_cast<io::TStream&>(fileTarget) : memoryTarget;

  CompressStream(source, target, TCompressionLevel::LevelDefault, row.Target == TTargetKind::MemoryDirect,
                 TStreamFormat::RawDeflate);

  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(data.size()));
  EXPECT_EQ(target.Position(), target.Size());
  fileTarget.Close();
  const std::string packed = row.Target == TTargetKind::File ? tarvola::test::ReadFile(folder.File("out.bin"))
                                                             : Contents(memoryTarget);
  EXPECT_EQ(Inflate(packed.data(), packed.size(), -15), data);
  if (row.Incompressible) {
    EXPECT_GT(packed.size(), data.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RoundTrip,
    testing::Values(TRoundTripRow{"Empty", 0, false, TSourceKind::File, TTargetKind::MemoryDirect},
                    TRoundTripRow{"OneByte", 1, false, TSourceKind::Memory, TTargetKind::MemoryDirect},
                    TRoundTripRow{"Exactly64KiB", 65536, false, TSourceKind::File, TTargetKind::MemoryDirect},
                    TRoundTripRow{"Exactly64KiBPlusOne", 65537, false, TSourceKind::File, TTargetKind::MemoryDirect},
                    TRoundTripRow{"Exactly64KiBFromMemory", 65536, false, TSourceKind::Memory, TTargetKind::MemoryDirect},
                    TRoundTripRow{"PlusOneFromMemory", 65537, false, TSourceKind::Memory, TTargetKind::MemoryBuffered},
                    TRoundTripRow{"PlusOneIntoFile", 65537, false, TSourceKind::File, TTargetKind::File},
                    TRoundTripRow{"LargeText", 1000003, false, TSourceKind::File, TTargetKind::MemoryDirect},
                    TRoundTripRow{"IncompressibleDirect", 300000, true, TSourceKind::File, TTargetKind::MemoryDirect},
                    TRoundTripRow{"IncompressibleBuffered", 300000, true, TSourceKind::Memory, TTargetKind::MemoryBuffered},
                    TRoundTripRow{"IncompressibleIntoFile", 300000, true, TSourceKind::Memory, TTargetKind::File}),
    test::TRowName());

TEST(CompressStream, IncompressibleDataGrowsTheTargetToExactlyTheOutput) {
  const std::string data = test::RandomBytes(200000, 13);
  const io::TMemoryStream target = Packed(data);
  EXPECT_GT(target.Size(), 3 * 65536);  // needed more than one step of growth
  EXPECT_EQ(Inflate(target.Memory(), static_cast<std::size_t>(target.Size()), -15), data);
  EXPECT_EQ(target.Position(), target.Size());
}

TEST(CompressStream, StartsAtThePositionsOfBothStreams) {
  const std::string data = test::TextBytes(100000, 14);
  io::TMemoryStream source = MemoryOf(data);
  source.SetPosition(777);
  io::TMemoryStream target = MemoryOf("HEAD");
  target.Seek(0, io::TSeekOrigin::End);
  CompressStream(source, target, TCompressionLevel::LevelDefault, true, TStreamFormat::RawDeflate);
  const std::string packed = Contents(target);
  ASSERT_EQ(packed.substr(0, 4), "HEAD");
  EXPECT_EQ(Inflate(packed.data() + 4, packed.size() - 4, -15), data.substr(777));
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(data.size()));
}

TEST(CompressStream, DirectOutputBeyondTheTargetsEndLeavesZerosBefore) {
  const std::string data = test::TextBytes(1000, 18);
  io::TMemoryStream source = MemoryOf(data);
  io::TMemoryStream target;
  target.SetPosition(100000);
  CompressStream(source, target, TCompressionLevel::LevelDefault, true, TStreamFormat::RawDeflate);
  const std::string packed = Contents(target);
  ASSERT_GT(packed.size(), 100000u);
  EXPECT_EQ(packed.substr(0, 100000), std::string(100000, '\0'));
  EXPECT_EQ(Inflate(packed.data() + 100000, packed.size() - 100000, -15), data);
}

struct TFormatRow {
  const char* Name;
  TStreamFormat Format;
  int InflateBits;
  TCompressionLevel Level;
};

class Format : public testing::TestWithParam<TFormatRow> {};

TEST_P(Format, InflatesWithTheMatchingWindowBits) {
  const std::string data = test::TextBytes(70000, 15);
  const io::TMemoryStream target = Packed(data, GetParam().Level, GetParam().Format);
  EXPECT_EQ(Inflate(target.Memory(), static_cast<std::size_t>(target.Size()), GetParam().InflateBits), data);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, Format,
    testing::Values(TFormatRow{"Raw", TStreamFormat::RawDeflate, -15, TCompressionLevel::LevelDefault},
                    TFormatRow{"Zlib", TStreamFormat::ZlibFormat, 15, TCompressionLevel::LevelMax},
                    TFormatRow{"Gzip", TStreamFormat::GzipFormat, 31, TCompressionLevel::LevelFastest},
                    TFormatRow{"Stored", TStreamFormat::RawDeflate, -15, TCompressionLevel::LevelNone}),
    test::TRowName());

TEST(CompressStream, RawDataHasNoHeader) {
  const io::TMemoryStream target = Packed(test::TextBytes(5000, 16));
  EXPECT_THROW(Inflate(target.Memory(), static_cast<std::size_t>(target.Size()), 15), std::runtime_error);
}

TEST(CompressStream, TargetWriteErrorPasses) {
  io::TMemoryStream source = MemoryOf(test::RandomBytes(200000, 17));
  test::TFailingStream target(1000);
  EXPECT_THROW(CompressStream(source, target, TCompressionLevel::LevelDefault, false, TStreamFormat::RawDeflate),
               io::EWriteError);
}

TEST(CompressStream, SourceReadErrorPasses) {
  test::TUnreadableStream source;
  io::TMemoryStream target;
  EXPECT_THROW(CompressStream(source, target, TCompressionLevel::LevelDefault, true, TStreamFormat::RawDeflate),
               io::EReadError);
}

}  // namespace
}  // namespace tarvola::zip
