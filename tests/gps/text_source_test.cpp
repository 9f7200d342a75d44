#include "gps/text_source.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <string_view>
#include <utility>

#include "gps/text_decode.h"
#include "test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tarvola::gps {
namespace {

using namespace std::string_view_literals;
constexpr TTextOpen Opened = TTextOpen::Opened;

// The whole text of a file as the reader receives it, piece by piece; empty on failure.
TTextOpen Decode(const std::filesystem::path& file, std::string& text) {
  text = "left over from before";
  TTextSource source;
  const TTextOpenResult opened = source.Open(file);
  text.clear();
  if (opened.Code != Opened) return opened.Code;
  std::string piece;
  while (source.Next(piece)) text.append(piece);
  if (!source.Error()) return Opened;
  text.clear();
  return source.ReadFailure().Code;
}

struct TFileRow {
  const char* Name;
  std::string_view Bytes;
  TTextOpen Code;
  std::string Text;
};

std::ostream& operator<<(std::ostream& out, const TFileRow& row) { return out << row.Name; }

class TextSourceRows : public testing::TestWithParam<TFileRow> {};

TEST_P(TextSourceRows, DecodesByTheFirstBytes) {
  test::TTempFolder folder;
  auto file = folder.File("text.gpx");
  test::WriteFile(file, GetParam().Bytes);
  std::string text;
  EXPECT_TRUE(Decode(file, text) == GetParam().Code);
  EXPECT_EQ(text, GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextSourceRows,
    testing::Values(
        // 1: UTF-8 mark, skipped.
        TFileRow{"Utf8Mark", "\xEF\xBB\xBF<?xml?>\r\n<a/>"sv, Opened, "<?xml?>\r\n<a/>"},
        // 2: UTF-32 little-endian mark; one character in each plane size.
        TFileRow{"Utf32LittleEndian",
                 "\xFF\xFE\0\0" "A\0\0\0" "\xAC\x20\0\0" "\x00\xF6\x01\0" "\n\0\0\0" "b\0\0\0"sv, Opened,
                 "A\u20AC\U0001F600\nb"},
        TFileRow{"Utf32MarkOnly", "\xFF\xFE\0\0"sv, Opened, ""},
        TFileRow{"Utf32NotUtf16WithNul", "\xFF\xFE\0\0" "A\0\0\0"sv, Opened, "A"},
        TFileRow{"Utf32TrailingPartialGroupIgnored", "\xFF\xFE\0\0" "A\0\0\0" "B\0"sv, Opened, "A"},
        TFileRow{"Utf32BeyondUnicode", "\xFF\xFE\0\0" "\0\0\x11\0"sv, Opened, "\uFFFD"},
        // 3: UTF-32 big-endian is refused and nothing is read.
        TFileRow{"Utf32BigEndianRefused", "\0\0\xFE\xFF\0\0\0A"sv, TTextOpen::EncodingNotSupported, ""},
        // 4 and 5: UTF-16 with marks.
        TFileRow{"Utf16LittleEndianMark", "\xFF\xFE<\0?\0\xE4\0\r\0\n\0x\0"sv, Opened, "<?\u00E4\r\nx"},
        TFileRow{"Utf16BigEndianMark", "\xFE\xFF\0<\0?\x20\xAC\0\r\0x"sv, Opened, "<?\u20AC\rx"},
        TFileRow{"Utf16SurrogatePair", "\xFF\xFE\x3D\xD8\x00\xDE"sv, Opened, "\U0001F600"},
        TFileRow{"Utf16LoneSurrogate", "\xFF\xFE" "a\0\x3D\xD8" "b\0"sv, Opened, "a\uFFFDb"},
        TFileRow{"Utf16OddByteIgnored", "\xFF\xFE" "a\0b"sv, Opened, "a"},
        // 6 and 7: UTF-16 without a mark, recognised by the zero bytes of "<?".
        TFileRow{"Utf16LittleEndianNoMark", "<\0?\0x\0m\0l\0"sv, Opened, "<?xml"},
        TFileRow{"Utf16BigEndianNoMark", "\0<\0?\0x\0m\0l"sv, Opened, "<?xml"},
        // 8: everything else is UTF-8.
        TFileRow{"PlainAscii", "<?xml version=\"1.0\"?>\n<gpx/>\n"sv, Opened, "<?xml version=\"1.0\"?>\n<gpx/>\n"},
        TFileRow{"Utf8WithoutMark", "Gr\xC3\xBC\xC3\x9F" "e"sv, Opened, "Gr\u00FC\u00DFe"},
        TFileRow{"Empty", ""sv, Opened, ""},
        // Shorter than four bytes: the last rule, whatever the bytes.
        TFileRow{"ShortAscii", "<a"sv, Opened, "<a"},
        TFileRow{"ShortUtf8MarkKept", "\xEF\xBB\xBF"sv, Opened, "\uFEFF"},
        TFileRow{"ShortUtf16MarkAsWindows1252", "\xFF\xFE"sv, Opened, "\u00FF\u00FE"},
        // NUL ends the text.
        TFileRow{"NulEndsText", "ab\0cd\nef"sv, Opened, "ab"},
        TFileRow{"NulInUtf16EndsText", "\xFF\xFE" "a\0\0\0b\0"sv, Opened, "a"},
        TFileRow{"BytesAfterNulDoNotCount", "ok\n\0\xFF\xFE"sv, Opened, "ok\n"},
        // Not UTF-8: the code page of the declaration, else Windows-1252.
        TFileRow{"Latin1Declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>F\xE4hre \x80</a>"sv, Opened,
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>F\u00E4hre \u0080</a>"},
        TFileRow{"Latin1DeclaredLowerCaseSingleQuotes", "<?xml version='1.0' encoding='iso-8859-1'?>\xFC"sv, Opened,
                 "<?xml version='1.0' encoding='iso-8859-1'?>\u00FC"},
        TFileRow{"Latin9Declared", "<?xml encoding=\"ISO-8859-15\"?>\xA4\xBD"sv, Opened,
                 "<?xml encoding=\"ISO-8859-15\"?>\u20AC\u0153"},
        TFileRow{"Windows1252Declared", "<?xml encoding=\"windows-1252\"?>\x80\x93\x81"sv, Opened,
                 "<?xml encoding=\"windows-1252\"?>\u20AC\u201C\u0081"},
        TFileRow{"Latin2Declared", "<?xml encoding=\"ISO-8859-2\"?>\xB1\xE8"sv, Opened,
                 "<?xml encoding=\"ISO-8859-2\"?>\u0105\u010D"},
        TFileRow{"Windows1250Declared", "<?xml encoding=\"windows-1250\"?>\x9A\xB9\x80"sv, Opened,
                 "<?xml encoding=\"windows-1250\"?>\u0161\u0105\u20AC"},
        TFileRow{"Windows1251Declared", "<?xml encoding=\"Windows-1251\"?>\xCF\xF0\xE8"sv, Opened,
                 "<?xml encoding=\"Windows-1251\"?>\u041F\u0440\u0438"},
        TFileRow{"UnknownCodePageAsWindows1252", "<?xml encoding=\"ISO-8859-7\"?>\xE1\x80"sv, Opened,
                 "<?xml encoding=\"ISO-8859-7\"?>\u00E1\u20AC"},
        TFileRow{"DeclaredUtf8ButLatin", "<?xml encoding=\"UTF-8\"?>Barsb\xFCttel \x93q\x94"sv, Opened,
                 "<?xml encoding=\"UTF-8\"?>Barsb\u00FCttel \u201Cq\u201D"},
        TFileRow{"NoDeclarationLatin", "Stra\xDF" "e"sv, Opened, "Stra\u00DFe"},
        TFileRow{"ValidUtf8WinsOverLatinLabel", "<?xml encoding=\"ISO-8859-1\"?>\xC3\xA4"sv, Opened,
                 "<?xml encoding=\"ISO-8859-1\"?>\u00E4"},
        TFileRow{"Utf8MarkThenLatin", "\xEF\xBB\xBF" "a\xE9"sv, Opened, "a\u00E9"},
        // One stray byte changes only itself: the valid sequences around it stay.
        TFileRow{"StrayByteInUtf8", "H\xC3\xBCtte \xFF H\xC3\xBCtte"sv, Opened, "H\u00FCtte \u00FF H\u00FCtte"}),
    test::TRowName());

TEST(TextSource, MissingFileOrFolderCannotBeOpened) {
  test::TTempFolder folder;
  const std::pair<const char*, std::filesystem::path> rows[] = {{"MissingFile", folder.File("missing.gpx")},
                                                                 {"Folder", folder.Path()}};
  for (const auto& [name, path] : rows) {
    SCOPED_TRACE(name);
    TTextSource source;
    const TTextOpenResult opened = source.Open(path);
    EXPECT_TRUE(opened.Code == TTextOpen::CannotOpen);
    EXPECT_EQ(opened.File, path);
    EXPECT_FALSE(opened.Reason.empty());
  }
}

TEST(TextSource, LargeUtf16FileDecodes) {
  test::TTempFolder folder;
  auto file = folder.File("wide.gpx");
  std::string bytes = "\xFF\xFE";
  std::string expected;
  for (int i = 0; i < 200'000; ++i) {
    char32_t c = i % 3 == 0 ? U'\u00E9' : U'a' + i % 26;
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
    expected += c == U'\u00E9' ? "\u00E9" : std::string(1, static_cast<char>(c));
  }
  test::WriteFile(file, bytes);
  std::string text;
  ASSERT_TRUE(Decode(file, text) == Opened);
  EXPECT_EQ(text, expected);
}

// The file is decoded a piece at a time: characters of several bytes, surrogate pairs and stray
// bytes that straddle a piece's end, just before, at and after it and many pieces on, decode
// as if the file were read whole.
struct TPieceRow {
  const char* Name;
  bool Utf16;
};

class PieceBoundaries : public testing::TestWithParam<TPieceRow> {};

TEST_P(PieceBoundaries, CharactersAcrossPiecesDecodeWhole) {
  const bool utf16 = GetParam().Utf16;
  // UTF-16 doubles the bytes: the specials sit at the same byte offsets around each piece's end.
  const std::size_t unit = utf16 ? 2 : 1;
  for (std::size_t shift = 0; shift < 4; ++shift) {
    SCOPED_TRACE(shift);
    std::string bytes = utf16 ? "\xFF\xFE" : "", expected;
    auto add = [&](std::string_view utf8, std::string_view raw8, std::string_view raw16) {
      bytes.append(utf16 ? raw16 : raw8);
      expected.append(utf8);
    };
    for (std::size_t piece = 1; piece <= 6; ++piece) {
      const std::size_t at = piece * TextPieceSize / unit + shift - 3;
      while ((bytes.size() - (utf16 ? 2 : 0)) / unit < at) add("x", "x", std::string("x\0", 2));
      if (piece % 2 == 1)
        add("\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\x3D\xD8\x00\xDE"sv);
      else
        add("\xC3\xA9", "\xE9", "\xE9\x00"sv);  // a Latin byte in UTF-8, é in UTF-16
    }
    test::TTempFolder folder;
    test::WriteFile(folder.File("a.gpx"), bytes);
    std::string text;
    ASSERT_TRUE(Decode(folder.File("a.gpx"), text) == Opened);
    EXPECT_TRUE(text == expected) << "decoded " << text.size() << " bytes, expected " << expected.size();
  }
}

INSTANTIATE_TEST_SUITE_P(Encodings, PieceBoundaries,
                         testing::Values(TPieceRow{"Utf8", false}, TPieceRow{"Utf16", true}), test::TRowName());

struct TUtf8Row {
  const char* Name;
  std::string_view Bytes;
  bool Valid;
};

std::ostream& operator<<(std::ostream& out, const TUtf8Row& row) { return out << row.Name; }

class Utf8Validity : public testing::TestWithParam<TUtf8Row> {};

TEST_P(Utf8Validity, StrictDecoding) { EXPECT_EQ(IsValidUtf8(GetParam().Bytes), GetParam().Valid); }

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Validity,
    testing::Values(TUtf8Row{"Ascii", "plain text, long enough for words"sv, true},
                    TUtf8Row{"TwoBytes", "\xC3\xA4"sv, true}, TUtf8Row{"ThreeBytes", "\xE2\x82\xAC"sv, true},
                    TUtf8Row{"FourBytes", "\xF0\x9F\x98\x80"sv, true},
                    TUtf8Row{"LargestCodePoint", "\xF4\x8F\xBF\xBF"sv, true},
                    TUtf8Row{"LoneContinuation", "abc\x80"sv, false},
                    TUtf8Row{"OverlongSlash", "\xC0\xAF"sv, false},
                    TUtf8Row{"OverlongThreeBytes", "\xE0\x80\xAF"sv, false},
                    TUtf8Row{"OverlongFourBytes", "\xF0\x80\x80\xAF"sv, false},
                    TUtf8Row{"Surrogate", "\xED\xA0\x80"sv, false},
                    TUtf8Row{"BeyondUnicode", "\xF4\x90\x80\x80"sv, false},
                    TUtf8Row{"FiveByteLead", "\xF8\x88\x80\x80\x80"sv, false},
                    TUtf8Row{"TruncatedAtEnd", "abcdefgh\xE2\x82"sv, false},
                    TUtf8Row{"BadContinuation", "\xE2\x28\xA1"sv, false},
                    TUtf8Row{"LatinAfterLongAscii", "0123456789abcdef\xE9"sv, false}),
    test::TRowName());

TEST(DeclaredEncoding, ReadsTheLabel) {
  EXPECT_EQ(DeclaredEncoding("<?xml version=\"1.0\" encoding = \"ISO-8859-15\" ?><a/>"), "iso-8859-15");
  EXPECT_EQ(DeclaredEncoding("<?xml version=\"1.0\"?><a encoding=\"x\"/>"), "");
  EXPECT_EQ(DeclaredEncoding("<a/>"), "");
  EXPECT_EQ(DeclaredEncoding("<?xml encoding=\"unterminated"), "");
}

#ifndef _WIN32
// A pipe gives its first bytes once: they must reach the text as well as decide the encoding.
TEST(TextSource, PipeKeepsItsFirstBytes) {
  for (const auto& [name, bytes, expected] : {std::tuple<const char*, std::string, std::string>{
                                                  "NoMark", "<?xml version=\"1.0\"?><gpx/>", "<?xml version=\"1.0\"?><gpx/>"},
                                              {"Utf8Mark", "\xEF\xBB\xBF<gpx/>", "<gpx/>"},
                                              {"Utf16LeMark", std::string("\xFF\xFE<\0g\0/\0>\0", 10), "<g/>"}}) {
    SCOPED_TRACE(name);
    test::TTempFolder folder;
    const auto fifo = folder.File("in.gpx");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&fifo, &bytes] { test::WriteFile(fifo, bytes); });
    std::string text;
    EXPECT_TRUE(Decode(fifo, text) == Opened);
    writer.join();
    EXPECT_EQ(text, expected);
  }
}
#endif

}  // namespace
}  // namespace tarvola::gps
