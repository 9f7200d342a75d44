#include "kml/kml_writer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>

#include "kml/kml_builder.h"
#include "test_support.h"

namespace tarvola::kml {
namespace {

struct TEscapeCase {
  std::string Name;
  std::string Input;
  std::string Text;       // as character data
  std::string Attribute;  // as an attribute value
};

void PrintTo(const TEscapeCase& row, std::ostream* out) { *out << row.Name; }

class Escaping : public testing::TestWithParam<TEscapeCase> {};

TEST_P(Escaping, InText) {
  std::string out;
  AppendEscaped(out, GetParam().Input);
  EXPECT_EQ(out, GetParam().Text);
}

TEST_P(Escaping, InAttribute) {
  std::string out;
  AppendEscaped(out, GetParam().Input, true);
  EXPECT_EQ(out, GetParam().Attribute);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Escaping,
    testing::Values(
        TEscapeCase{"Plain", "Hut 7.5,46.1", "Hut 7.5,46.1", "Hut 7.5,46.1"},
        TEscapeCase{"Markup", "a&b<c>d", "a&amp;b&lt;c&gt;d", "a&amp;b&lt;c&gt;d"},
        TEscapeCase{"Quote", "say \"hi\"", "say \"hi\"", "say &quot;hi&quot;"},
        TEscapeCase{"TabAndLineFeed", "a\tb\nc", "a\tb&#10;c", "a&#9;b&#10;c"},
        TEscapeCase{"LineEndsSurviveReading", "a\r\nb\rc", "a&#13;&#10;b&#13;c", "a&#13;&#10;b&#13;c"},
        TEscapeCase{"ControlsDropped", std::string("a\x01" "b\x1F" "c\x0B\x0C", 7) + std::string(1, '\0') + "d",
                    "abcd", "abcd"},
        TEscapeCase{"TwoByteKept", "S\xC3\xBC" "d", "S\xC3\xBC" "d", "S\xC3\xBC" "d"},
        TEscapeCase{"FourByteKept", "\xF0\x9F\x8F\x94", "\xF0\x9F\x8F\x94", "\xF0\x9F\x8F\x94"},
        TEscapeCase{"NonCharactersDropped", "a\xEF\xBF\xBE" "b\xEF\xBF\xBF" "c", "abc", "abc"},
        TEscapeCase{"ReplacementCharKept", "\xEF\xBF\xBD", "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
        TEscapeCase{"LoneSurrogatesDropped", "a\xED\xA0\x80" "b\xED\xBF\xBF" "c", "abc", "abc"},
        TEscapeCase{"StrayByteReplaced", "a\xFC" "b", "a\xEF\xBF\xBD" "b", "a\xEF\xBF\xBD" "b"},
        TEscapeCase{"OverlongReplaced", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        TEscapeCase{"TruncatedSequenceReplaced", "a\xE2\x82", "a\xEF\xBF\xBD\xEF\xBF\xBD",
                    "a\xEF\xBF\xBD\xEF\xBF\xBD"},
        TEscapeCase{"Empty", "", "", ""}),
    test::TRowName());

TEST(KmlWriter, IndentsByTwoSpacesWithOneElementPerLine) {
  std::string out;
  TKmlWriter writer(out);
  writer.Declaration();
  writer.Open("kml", {{"xmlns", "urn:x"}});
  writer.Open("Document");
  writer.Text("name", "A & B");
  writer.Empty("hotSpot", {{"x", "20"}, {"y", "\"2\""}});
  writer.Text("name", "");
  writer.Text("name", "\x01\x02");
  writer.BeginText("coordinates");
  writer.EndText();
  writer.BeginText("coordinates");
  writer.AppendText("1,2,<3>");
  writer.AppendRaw(' ');
  writer.EndText();
  writer.Close();
  writer.Close();
  EXPECT_EQ(out,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<kml xmlns=\"urn:x\">\n"
            "  <Document>\n"
            "    <name>A &amp; B</name>\n"
            "    <hotSpot x=\"20\" y=\"&quot;2&quot;\"/>\n"
            "    <name/>\n"
            "    <name/>\n"
            "    <coordinates/>\n"
            "    <coordinates>1,2,&lt;3&gt; </coordinates>\n"
            "  </Document>\n"
            "</kml>\n");
}

}  // namespace
}  // namespace tarvola::kml
