#include "gps/gpx_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <string_view>

#include "gps/text_read_ahead.h"
#include "gps/text_source.h"
#include "test_support.h"

namespace tarvola::gps {
namespace {

using namespace std::string_view_literals;

class GpxReader : public testing::Test {
protected:
  TLoadResult Load(std::string_view bytes) {
    auto file = FFolder.File("input.gpx");
    test::WriteFile(file, bytes);
    return LoadGpxFile(file, FData).Code;
  }
  // A gpx document around `body`, in the GPX 1.1 default namespace.
  TLoadResult LoadBody(std::string_view body) {
    return Load(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gpx version=\"1.1\" creator=\"test\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
        std::string(body) + "\n</gpx>\n");
  }
  const TWpt& Waypoint(std::size_t i) const { return FData.Waypoints->at(i); }
  const TTrkSeg& Segment(std::size_t track, std::size_t segment) const {
    return FData.Tracks->at(track).Segments->at(segment);
  }

  test::TTempFolder FFolder;
  TGpsData FData;
};

struct TNameRow {
  const char* Name;
  std::string_view Text;
  bool IsBody;  // wrapped in the GPX 1.1 default namespace
  const char* FirstName;
};

std::ostream& operator<<(std::ostream& out, const TNameRow& row) { return out << row.Name; }

class GpxReaderFirstName : public GpxReader, public testing::WithParamInterface<TNameRow> {};

TEST_P(GpxReaderFirstName, NameOfTheFirstWaypoint) {
  ASSERT_EQ(GetParam().IsBody ? LoadBody(GetParam().Text) : Load(GetParam().Text), TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Name, GetParam().FirstName);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GpxReaderFirstName,
    testing::Values(
        TNameRow{"CommentAloneCountsAsChildNode", "<wpt lat=\"1\" lon=\"2\"><!-- nothing --></wpt>", true, ""},
        TNameRow{"ParentWithoutNamespaceTakesAnyChild",
                 "<gpx><wpt lat=\"1\" lon=\"2\"><x:name xmlns:x=\"urn:x\">X</x:name><name>Y</name></wpt></gpx>",
                 false, "X"},
        // The point moves to another namespace; its children follow it, so they are still found.
        TNameRow{"NamespaceRedeclaredOnThePoint",
                 "<wpt lat=\"1\" lon=\"2\" xmlns=\"urn:elsewhere\"><name>moved</name></wpt>", true, "moved"},
        TNameRow{"UnboundPrefixOnValueElementIsForeign",
                 "<wpt lat=\"1\" lon=\"2\"><q:name>unbound</q:name><name>bound</name></wpt>", true, "bound"},
        TNameRow{"FirstOfTwoNamesCounts", "<wpt><name>first</name><name>second</name></wpt>", true, "first"},
        // ExpertGPS wrote encoding="UTF-16" on single-byte files.
        TNameRow{"EncodingOfTheDeclarationIsDisregarded",
                 "<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx><wpt><name>A</name></wpt></gpx>", false, "A"},
        TNameRow{"LatinFileLoadsWithItsLetters",
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                 "<gpx><wpt lat=\"1\" lon=\"2\"><name>F\xE4hrstra\xDF" "e</name></wpt></gpx>",
                 false, "F\u00E4hrstra\u00DFe"},
        TNameRow{"BareAmpersandStandsForItself", "<wpt><name>B&B &amp; more</name></wpt>", true, "B&B & more"},
        TNameRow{"EntityWithoutDeclarationIsKeptAsWritten", "<wpt><name>a&nbsp;b</name></wpt>", true,
                 "a&nbsp;b"},
        TNameRow{"AmpersandInCdataStaysText", "<wpt><name><![CDATA[x &amp; y]]>&z</name></wpt>", true,
                 "x &amp; y&z"},
        TNameRow{"ControlCharacterStaysInTheValue", "<wpt><name>a\x01" "b</name></wpt>", true, "a\x01" "b"},
        // U+FDD0 and U+FDD1 beside a control character stay what they are.
        TNameRow{"NoncharactersBesideAControlStay", "<wpt><name>\xEF\xB7\x90\x01\xEF\xB7\x91</name></wpt>", true,
                 "\xEF\xB7\x90\x01\xEF\xB7\x91"},
        TNameRow{"NoncharacterBeforeAControlLater", "<wpt><name>\xEF\xB7\x95</name></wpt><wpt><name>\x02</name></wpt>",
                 true, "\xEF\xB7\x95"},
        TNameRow{"BlankLinesBeforeTheDeclaration",
                 "\n\r\n  <?xml version=\"1.0\"?><gpx><wpt><name>A</name></wpt></gpx>", false, "A"}),
    test::TRowName());

// The file is read in pieces, a few of them ahead of the parser: a reference, a character of
// several bytes or a line break split between two pieces reads as if it were whole, in the
// first piece's end, at the read-ahead's limit, just past it and far beyond.
TEST_F(GpxReader, TextSplitBetweenPiecesReadsWhole) {
  const std::string name = "\xF0\x9F\x98\x80&nbsp;\xC3\xA9&amp;\r\nB&B";
  const std::string expected = "\xF0\x9F\x98\x80&nbsp;\xC3\xA9&\nB&B";
  for (std::size_t pieces : {std::size_t{1}, ReadAheadPieces, ReadAheadPieces + 1, 3 * ReadAheadPieces + 1}) {
    for (std::size_t shift = 0; shift < 24; ++shift) {
      std::string head = "<gpx><wpt><desc>";
      head.append(pieces * TextPieceSize - head.size() - 13 - 20 + shift, 'x');
      ASSERT_EQ(Load(head + "</desc><name>" + name + "</name></wpt></gpx>"), TLoadResult::Loaded) << shift;
      EXPECT_EQ(Waypoint(0).Name, expected) << pieces << " pieces, shift " << shift;
    }
  }
}

struct TFailureRow {
  const char* Name;
  std::string_view Bytes;
  TLoadResult Result;
  std::string_view Reason;  // how the reason begins
};

std::ostream& operator<<(std::ostream& out, const TFailureRow& row) { return out << row.Name; }

class GpxReaderFailure : public GpxReader, public testing::WithParamInterface<TFailureRow> {};

// Each failure comes after a good load, so it must also drop the data held before.
TEST_P(GpxReaderFailure, FailsAndHoldsNoData) {
  ASSERT_EQ(LoadBody("<wpt/>"), TLoadResult::Loaded);
  auto file = FFolder.File("input.gpx");
  test::WriteFile(file, GetParam().Bytes);
  const TLoadOutcome outcome = LoadGpxFile(file, FData);
  EXPECT_EQ(outcome.Code, GetParam().Result);
  EXPECT_EQ(outcome.File, file);
  EXPECT_FALSE(FData.Waypoints || FData.Routes || FData.Tracks);
  EXPECT_EQ(outcome.Reason.substr(0, GetParam().Reason.size()), GetParam().Reason);
}

TEST_F(GpxReader, CannotOpenGivesTheSystemReason) {
  const TLoadOutcome outcome = LoadGpxFile(FFolder.File("missing.gpx"), FData);
  EXPECT_EQ(outcome.Code, TLoadResult::CannotOpen);
  EXPECT_EQ(outcome.File, FFolder.File("missing.gpx"));
  EXPECT_EQ(outcome.Reason, test::MissingFileReason());
}

// The window's Cancel: the watch hears the bytes read and stops the load, which keeps nothing.
TEST_F(GpxReader, WatchThatSaysStopEndsTheLoadAsCancelled) {
  std::string gpx = "<gpx><trk><trkseg>";
  while (gpx.size() < 3 * TextPieceSize) gpx += "<trkpt lat=\"47.1\" lon=\"11.2\"/>\n";
  const auto file = FFolder.File("long.gpx");
  test::WriteFile(file, gpx + "</trkseg></trk></gpx>");
  std::vector<std::uint64_t> heard;
  const auto stopAfterTheFirstPiece = [&](std::uint64_t done) {
    heard.push_back(done);
    return done < TextPieceSize;
  };
  const TLoadOutcome outcome = LoadGpxFile(file, FData, stopAfterTheFirstPiece);
  EXPECT_EQ(outcome.Code, TLoadResult::Cancelled);
  EXPECT_FALSE(FData.Tracks);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), 4 + TextPieceSize);  // the encoding's four bytes, then one piece
  ASSERT_EQ(LoadGpxFile(file, FData, [](std::uint64_t) { return true; }), TLoadResult::Loaded);
  EXPECT_GT(Segment(0, 0).Points->size(), 3 * TextPieceSize / 40);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GpxReaderFailure,
    testing::Values(
        TFailureRow{"PrefixedRootIsNotGpx",
                    "<gpx:gpx xmlns:gpx=\"http://www.topografix.com/GPX/1/1\"><gpx:wpt/></gpx:gpx>",
                    TLoadResult::NotGpx, "the document element is gpx:gpx, not gpx"},
        TFailureRow{"NotXml", "lat,lon\n47.1,11.2\n", TLoadResult::NotGpx, "not a GPX file: it is not XML"},
        TFailureRow{"Png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"sv, TLoadResult::NotGpx, "not a GPX file: it is not XML"},
        TFailureRow{"OtherRoot", "<kml><Placemark/></kml>", TLoadResult::NotGpx, "the document element is kml, not gpx"},
        TFailureRow{"EmptyFile", "", TLoadResult::NotGpx, "the file is empty"},
        TFailureRow{"OnlyBlanks", " \r\n", TLoadResult::NotGpx, "no XML document element"},
        TFailureRow{"OnlyAComment", "<!-- only a comment -->", TLoadResult::NotGpx, "no XML document element"},
        TFailureRow{"UnclosedGpx", "<gpx><wpt>", TLoadResult::NotGpx, "not well-formed XML at line 1, column "},
        TFailureRow{"WrongEndTagOnLineThree", "\xEF\xBB\xBF<gpx>\r\n<wpt>\r</trk>", TLoadResult::NotGpx,
                    "not well-formed XML at line 3, column "},
        TFailureRow{"TextBeforeTheRoot", "<?xml version=\"1.0\"?>text<gpx/>", TLoadResult::NotGpx,
                    "text outside the document element"},
        TFailureRow{"TextAfterTheRoot", "<gpx></gpx>junk", TLoadResult::NotGpx, "text outside the document element"},
        TFailureRow{"CdataAfterTheRoot", "<gpx></gpx><![CDATA[x]]>", TLoadResult::NotGpx,
                    "text outside the document element"},
        TFailureRow{"TwoRoots", "<gpx></gpx><gpx/>", TLoadResult::NotGpx, "more than one document element"},
        TFailureRow{"BigEndianUtf32IsNotSupported", "\0\0\xFE\xFF\0\0\0<"sv, TLoadResult::EncodingNotSupported,
                    "UTF-32 text in big-endian byte order"}),
    test::TRowName());

TEST_F(GpxReader, MarkupAroundTheRootIsAllowed) {
  EXPECT_EQ(Load("<?xml version=\"1.0\"?>\n<!-- before -->\n<!DOCTYPE gpx>\n<?app note?>\n"
                 "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>\n<!-- after -->\n"),
            TLoadResult::Loaded);
  ASSERT_TRUE(FData.Waypoints);
  EXPECT_EQ(FData.Waypoints->size(), 1u);
}

// A waypoint's fields as written; a waypoint of attributes alone is "<noname>", one with
// children but no name has an empty name, and a missing elevation is "0".
TEST_F(GpxReader, WaypointFields) {
  struct TRow {
    const char* Body;
    std::vector<std::string> Fields;  // Lat, Lon, Name, Alt, Cmt, Desc, Sym, Time
  };
  const TRow rows[] = {
      {"<wpt lat=\"47.1\" lon=\"11.2\"/>", {"47.1", "11.2", "<noname>", "0", "", "", "", ""}},
      {"<wpt lat=\"1\" lon=\"2\"><ele>5</ele></wpt>", {"1", "2", "", "5", "", "", "", ""}},
      {"<wpt lat=\"46.5\" lon=\"8.25\"><ele>2101.5</ele><time>2010-05-12T10:20:30+02:00</time>"
       "<name>Col du Test</name><cmt>windy</cmt><desc>Pass &amp; hut</desc><sym>Summit</sym></wpt>",
       {"46.5", "8.25", "Col du Test", "2101.5", "windy", "Pass & hut", "Summit", "2010-05-12T10:20:30+02:00"}}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Body);
    ASSERT_EQ(LoadBody(row.Body), TLoadResult::Loaded);
    ASSERT_EQ(FData.Waypoints->size(), 1u);
    const TWpt& w = Waypoint(0);
    const std::string time = w.Time.Exists ? DateTimeZToIso8601(w.Time) : "";
    EXPECT_EQ((std::vector<std::string>{w.Lat, w.Lon, w.Name, w.Alt, w.Cmt, w.Desc, w.Sym, time}), row.Fields);
  }
}

TEST_F(GpxReader, ValuesStayTextAsWritten) {
  ASSERT_EQ(LoadBody("<wpt lat=\" 12.5x \" lon=\"11.123456789012345678901234567890\">"
                     "<ele>bad data</ele><name>  two  blanks  </name></wpt>"
                     "<wpt lon=\"3\"><name>no lat</name></wpt>"),
            TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Lat, " 12.5x ");
  EXPECT_EQ(Waypoint(0).Lon, "11.123456789012345678901234567890");
  EXPECT_EQ(Waypoint(0).Alt, "bad data");
  EXPECT_EQ(Waypoint(0).Name, "  two  blanks  ");
  EXPECT_EQ(Waypoint(1).Lat, "");
  EXPECT_EQ(Waypoint(1).Lon, "3");
}

// An empty or blank first <ele> counts as no elevation in every kind of point; a later
// <ele> is not consulted.
TEST_F(GpxReader, EmptyElevationReadsAsZero) {
  ASSERT_EQ(LoadBody("<wpt lat=\"1\" lon=\"2\"><ele/><name>a</name></wpt>"
                     "<rte><rtept lat=\"3\" lon=\"4\"><ele> \t\r\n</ele></rtept></rte>"
                     "<trk><trkseg><trkpt lat=\"5\" lon=\"6\"><ele></ele><ele>9</ele></trkpt>"
                     "<trkpt lat=\"7\" lon=\"8\"><ele> 12 </ele></trkpt></trkseg></trk>"),
            TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Alt, "0");
  EXPECT_EQ(FData.Routes->at(0).Points->at(0).Alt, "0");
  const auto& points = *Segment(0, 0).Points;
  EXPECT_EQ(points[0].Alt, "0");
  EXPECT_EQ(points[1].Alt, " 12 ");
}

TEST_F(GpxReader, RouteWithoutChildNodes) {
  ASSERT_EQ(LoadBody("<rte/><rte><name>Empty</name></rte>"), TLoadResult::Loaded);
  ASSERT_EQ(FData.Routes->size(), 2u);
  EXPECT_EQ(FData.Routes->at(0).Name, "");
  EXPECT_FALSE(FData.Routes->at(0).Points);
  EXPECT_EQ(FData.Routes->at(1).Name, "Empty");
  ASSERT_TRUE(FData.Routes->at(1).Points);
  EXPECT_TRUE(FData.Routes->at(1).Points->empty());
}

TEST_F(GpxReader, RoutePoints) {
  ASSERT_EQ(LoadBody("<rte><name>Ridge</name>"
                     "<rtept lat=\"1\" lon=\"2\"><name>A</name></rtept>"
                     "<rtept lat=\"3\" lon=\"4\"/>"
                     "<rtept lat=\"5\" lon=\"6\"><ele>7</ele><sym>Flag</sym></rtept></rte>"),
            TLoadResult::Loaded);
  const auto& points = *FData.Routes->at(0).Points;
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].Name, "A");
  EXPECT_EQ(points[0].Alt, "0");
  EXPECT_EQ(points[1].Name, "<noname>");
  EXPECT_EQ(points[2].Lat, "5");
  EXPECT_EQ(points[2].Alt, "7");
  EXPECT_EQ(points[2].Sym, "Flag");
}

TEST_F(GpxReader, TrackStructure) {
  ASSERT_EQ(LoadBody("<trk/>"
                     "<trk><name>Two</name>"
                     "<trkseg/>"
                     "<trkseg><trkpt lat=\"1\" lon=\"2\"/><!-- pause --><trkpt lat=\"3\" lon=\"4\">"
                     "<ele>10</ele><time>2010-05-12T10:20:30Z</time></trkpt></trkseg>"
                     "<trkseg><extensions/></trkseg></trk>"),
            TLoadResult::Loaded);
  ASSERT_EQ(FData.Tracks->size(), 2u);
  EXPECT_EQ(FData.Tracks->at(0).Name, "");
  EXPECT_FALSE(FData.Tracks->at(0).Segments);
  EXPECT_EQ(FData.Tracks->at(1).Name, "Two");
  ASSERT_EQ(FData.Tracks->at(1).Segments->size(), 3u);
  EXPECT_FALSE(Segment(1, 0).Points);
  const auto& points = *Segment(1, 1).Points;
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].Lat, "1");
  EXPECT_EQ(points[0].Alt, "0");
  EXPECT_FALSE(points[0].Time.Exists);
  EXPECT_EQ(points[1].Lat, "3");
  EXPECT_EQ(points[1].Alt, "10");
  EXPECT_EQ(DateTimeZToIso8601(points[1].Time), "2010-05-12T10:20:30Z");
  ASSERT_TRUE(Segment(1, 2).Points);
  EXPECT_TRUE(Segment(1, 2).Points->empty());
}

TEST_F(GpxReader, EmptyGpxGivesThreeEmptyLists) {
  ASSERT_EQ(LoadBody("<metadata><name>nothing</name></metadata>"), TLoadResult::Loaded);
  ASSERT_TRUE(FData.Waypoints && FData.Routes && FData.Tracks);
  EXPECT_TRUE(FData.Waypoints->empty());
  EXPECT_TRUE(FData.Routes->empty());
  EXPECT_TRUE(FData.Tracks->empty());
}

TEST_F(GpxReader, CapitalStructuralNamesButExactValueNames) {
  ASSERT_EQ(Load("<GPX><WPT lat=\"1\" lon=\"2\"><NAME>n</NAME><ELE>3</ELE><Name>m</Name></WPT>"
                 "<TRK><TRKSEG><TRKPT lat=\"5\" lon=\"6\"><ELE>1</ELE></TRKPT></TRKSEG></TRK>"
                 "<Rte><RtePt/></Rte></GPX>"),
            TLoadResult::Loaded);
  ASSERT_EQ(FData.Waypoints->size(), 1u);
  EXPECT_EQ(Waypoint(0).Name, "");
  EXPECT_EQ(Waypoint(0).Alt, "0");
  ASSERT_EQ(Segment(0, 0).Points->size(), 1u);
  EXPECT_EQ(Segment(0, 0).Points->at(0).Alt, "0");
  EXPECT_EQ(FData.Routes->at(0).Points->size(), 1u);
}

TEST_F(GpxReader, PrefixedStructuralNamesAreSkipped) {
  ASSERT_EQ(
      Load("<gpx xmlns:g=\"http://www.topografix.com/GPX/1/1\"><g:wpt lat=\"1\" lon=\"2\"/></gpx>"),
      TLoadResult::Loaded);
  EXPECT_TRUE(FData.Waypoints->empty());
}

TEST_F(GpxReader, ValueElementsByNamespace) {
  ASSERT_EQ(LoadBody("<wpt lat=\"1\" lon=\"2\" xmlns:g=\"http://www.topografix.com/GPX/1/1\""
                     " xmlns:o=\"urn:other\">"
                     "<o:name>other prefix</o:name><name xmlns=\"urn:other\">other default</name>"
                     "<g:name>same namespace, prefixed</g:name><name>plain</name>"
                     "<o:ele>99</o:ele><ele>1</ele></wpt>"),
            TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Name, "same namespace, prefixed");
  EXPECT_EQ(Waypoint(0).Alt, "1");
}

TEST_F(GpxReader, ElementsElsewhereAreIgnored) {
  ASSERT_EQ(
      LoadBody(
          "<metadata><time>2001-01-01T00:00:00Z</time></metadata>"
          "<extensions><wpt lat=\"9\" lon=\"9\"/></extensions>"
          "<wpt lat=\"1\" lon=\"2\"><extensions><name>inner</name><time>2001-01-01T00:00:00Z</time>"
          "</extensions><link href=\"x\"><text>link</text></link></wpt>"
          "<trk><extensions><trkseg><trkpt/></trkseg></extensions>"
          "<trkseg><trkpt lat=\"1\" "
          "lon=\"1\"><extensions><ele>8</ele></extensions></trkpt></trkseg></trk>"),
      TLoadResult::Loaded);
  ASSERT_EQ(FData.Waypoints->size(), 1u);
  EXPECT_EQ(Waypoint(0).Name, "");
  EXPECT_FALSE(Waypoint(0).Time.Exists);
  ASSERT_EQ(FData.Tracks->at(0).Segments->size(), 1u);
  EXPECT_EQ(Segment(0, 0).Points->at(0).Alt, "0");
}

TEST_F(GpxReader, MixedContentIsJoined) {
  ASSERT_EQ(LoadBody("<wpt><name>Top<!-- checked 2019 --> hut</name>"
                     "<desc>Open <b>daily</b>, <![CDATA[<ask>]]> at <i>the <u>desk</u></i>.</desc>"
                     "<cmt><![CDATA[ kept as is ]]></cmt></wpt>"),
            TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Name, "Top hut");
  EXPECT_EQ(Waypoint(0).Desc, "Open daily, <ask> at the desk.");
  EXPECT_EQ(Waypoint(0).Cmt, " kept as is ");
}

TEST_F(GpxReader, EntitiesAndLineEnds) {
  ASSERT_EQ(
      LoadBody("<wpt><name>&lt;A&amp;B&gt; &#x20AC;&#228;</name><desc>one\r\ntwo\rthree</desc>"
               "<cmt>   </cmt></wpt>"),
      TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Name, "<A&B> \u20AC\u00E4");
  EXPECT_EQ(Waypoint(0).Desc, "one\ntwo\nthree");
  EXPECT_EQ(Waypoint(0).Cmt, "");
}

TEST_F(GpxReader, Utf16FileLoads) {
  std::string text =
      "<?xml version=\"1.0\" "
      "encoding=\"UTF-16\"?><gpx><wpt><name>\xC3\xA9t\xC3\xA9</name></wpt></gpx>";
  std::string bytes = "\xFF\xFE";
  // The test text holds only ASCII and U+00E9, so it widens byte pair by byte pair.
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC3) {
      bytes += static_cast<char>(0xC0 | (static_cast<unsigned char>(text[++i]) & 0x3F));
    } else {
      bytes += static_cast<char>(c);
    }
    bytes += '\0';
  }
  ASSERT_EQ(Load(bytes), TLoadResult::Loaded);
  EXPECT_EQ(Waypoint(0).Name, "\u00E9t\u00E9");
}

TEST_F(GpxReader, MarkCharacterAtTheStartIsDropped) {
  ASSERT_EQ(Load("\xEF\xBB\xBF\xEF\xBB\xBF<gpx><wpt/></gpx>"), TLoadResult::Loaded);
  EXPECT_EQ(FData.Waypoints->size(), 1u);
}

TEST_F(GpxReader, SecondLoadReplacesTheFirst) {
  ASSERT_EQ(LoadBody("<wpt/><wpt/>"), TLoadResult::Loaded);
  ASSERT_EQ(LoadBody("<rte/>"), TLoadResult::Loaded);
  EXPECT_TRUE(FData.Waypoints->empty());
  EXPECT_EQ(FData.Routes->size(), 1u);
}

TEST_F(GpxReader, ExampleFileLoads) {
  auto example = test::SourceDir() / "examples" / "alpine-hike.gpx";
  ASSERT_EQ(LoadGpxFile(example, FData), TLoadResult::Loaded);
  EXPECT_GE(FData.Waypoints->size(), 3u);
  ASSERT_EQ(FData.Routes->size(), 1u);
  ASSERT_EQ(FData.Tracks->size(), 1u);
  ASSERT_EQ(FData.Tracks->at(0).Segments->size(), 2u);
  for (const TTrkSeg& segment : *FData.Tracks->at(0).Segments)
    for (const TTrkPt& point : *segment.Points) EXPECT_TRUE(point.Time.Exists);
}

}  // namespace
}  // namespace tarvola::gps
