// Files built to hurt a reader: each must end in a clean load or a clean failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "gps/gpx_parser.h"
#include "gps/gpx_reader.h"
#include "test_support.h"

namespace tarvola::gps {
namespace {

class HostileGpx : public testing::Test {
protected:
  std::filesystem::path Write(const std::string& bytes) {
    auto file = FFolder.File("hostile.gpx");
    test::WriteFile(file, bytes);
    return file;
  }
  TLoadResult Load(const std::string& bytes) { return LoadGpxFile(Write(bytes), FData).Code; }
  test::TTempFolder FFolder;
  TGpsData FData;
};

TEST_F(HostileGpx, EntityBombIsNotExpanded) {
  std::string dtd = "<!DOCTYPE gpx [\n<!ENTITY lol0 \"lol\">\n";
  for (int i = 1; i < 10; ++i) {
    dtd += "<!ENTITY lol" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) dtd += "&lol" + std::to_string(i - 1) + ";";
    dtd += "\">\n";
  }
  dtd += "]>\n";
  TLoadResult result =
      Load("<?xml version=\"1.0\"?>\n" + dtd + "<gpx><wpt><name>&lol9;</name></wpt></gpx>");
  ASSERT_EQ(result, TLoadResult::Loaded);
  EXPECT_LT(FData.Waypoints->at(0).Name.size(), 100u);
}

TEST_F(HostileGpx, ExternalEntityIsNotFetched) {
  auto secret = FFolder.File("secret.txt");
  test::WriteFile(secret, "the secret text");
  std::string uri = "file://" + secret.string();
  TLoadResult result = Load(
      "<?xml version=\"1.0\"?>\n<!DOCTYPE gpx [\n"
      "<!ENTITY xxe SYSTEM \"" +
      uri +
      "\">\n"
      "<!ENTITY % remote SYSTEM \"http://127.0.0.1:9/evil.dtd\"> %remote;\n"
      "]>\n<gpx><wpt><name>&xxe;</name><desc>&remote;</desc></wpt></gpx>");
  ASSERT_EQ(result, TLoadResult::Loaded);
  EXPECT_EQ(FData.Waypoints->at(0).Name.find("secret"), std::string::npos);
}

// Nesting costs memory with every level: up to the limit a file loads, beyond it is refused.
TEST_F(HostileGpx, DeeplyNestedElements) {
  // gpx, wpt and desc, then `depth` levels of b.
  for (const std::size_t depth : {DepthLimit - 3, DepthLimit - 2, std::size_t{200'000}}) {
    std::string bytes = "<gpx><wpt><name>n</name><desc>";
    for (std::size_t i = 0; i < depth; ++i) bytes += "<b>x";
    for (std::size_t i = 0; i < depth; ++i) bytes += "</b>";
    bytes += "</desc></wpt></gpx>";
    const TLoadOutcome outcome = LoadGpxFile(Write(bytes), FData);
    if (depth + 3 <= DepthLimit) {
      ASSERT_EQ(outcome.Code, TLoadResult::Loaded) << depth;
      EXPECT_EQ(FData.Waypoints->at(0).Desc, std::string(depth, 'x'));
    } else {
      EXPECT_EQ(outcome.Code, TLoadResult::NotGpx) << depth;
      EXPECT_EQ(outcome.Reason, "elements are nested more than " + std::to_string(DepthLimit) + " deep");
    }
  }
}

TEST_F(HostileGpx, DeeplyNestedUnclosedElements) {
  std::string bytes = "<gpx>";
  for (int i = 0; i < 200'000; ++i) bytes += "<trk>";
  EXPECT_EQ(Load(bytes), TLoadResult::NotGpx);
}

TEST_F(HostileGpx, DeeplyNestedDoctype) {
  std::string bytes = "<!DOCTYPE gpx [";
  for (int i = 0; i < 100'000; ++i) bytes += "<!ELEMENT ";
  for (int i = 0; i < 100'000; ++i) bytes += ">";
  bytes += "]><gpx><wpt/></gpx>";
  TLoadResult result = Load(bytes);
  EXPECT_TRUE(result == TLoadResult::Loaded || result == TLoadResult::NotGpx);
}

// A long value loads whole, in time that grows with its length, not its square; one far past
// the limit is refused, as a value of a gigabyte would cost memory several times over.
TEST_F(HostileGpx, HugeAttributeAndText) {
  for (const bool attribute : {true, false}) {
    for (const std::size_t size : {TokenLimit / 2, 2 * TokenLimit}) {
      const std::string value(size, '7');
      const std::string bytes = attribute ? "<gpx><wpt lat=\"" + value + "\" lon=\"1\"/></gpx>"
                                          : "<gpx><wpt lat=\"1\" lon=\"1\"><name>" + value + "</name></wpt></gpx>";
      const TLoadOutcome outcome = LoadGpxFile(Write(bytes), FData);
      if (size < TokenLimit) {
        ASSERT_EQ(outcome.Code, TLoadResult::Loaded) << size;
        EXPECT_EQ((attribute ? FData.Waypoints->at(0).Lat : FData.Waypoints->at(0).Name).size(), size);
      } else {
        EXPECT_EQ(outcome.Code, TLoadResult::NotGpx) << size;
        EXPECT_NE(outcome.Reason.find("longer than 32 MiB"), std::string::npos) << outcome.Reason;
      }
    }
  }
}

TEST_F(HostileGpx, ManyAttributes) {
  std::string bytes = "<gpx><wpt";
  for (int i = 0; i < 100'000; ++i) bytes += " a" + std::to_string(i) + "=\"v\"";
  bytes += " lat=\"5\"/></gpx>";
  ASSERT_EQ(Load(bytes), TLoadResult::Loaded);
  EXPECT_EQ(FData.Waypoints->at(0).Lat, "5");
}

// Deterministic bytes: the same "random" file on every run.
std::string NoiseBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return bytes;
}

TEST_F(HostileGpx, NoiseFails) {
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    EXPECT_NE(Load(NoiseBytes(4096, seed)), TLoadResult::Loaded) << seed;
    EXPECT_FALSE(FData.Waypoints) << seed;
  }
}

TEST_F(HostileGpx, NoiseInsideValuesLoads) {
  std::string noise = NoiseBytes(2000, 7);
  std::string clean;
  for (char c : noise)
    if (c != '<' && c != '&' && c != 0) clean += c;
  ASSERT_EQ(Load("<gpx><wpt><name>" + clean + "</name></wpt></gpx>"), TLoadResult::Loaded);
  EXPECT_FALSE(FData.Waypoints->at(0).Name.empty());
}

TEST_F(HostileGpx, BadCharacterReferences) {
  TLoadResult result = Load(
      "<gpx><wpt><name>&#0;&#xFFFFFFFFFF;&#xD800;&#99999999;&#;&unknown;&amp</name></wpt></gpx>");
  EXPECT_TRUE(result == TLoadResult::Loaded || result == TLoadResult::NotGpx);
}

TEST_F(HostileGpx, NulInTheMiddleEndsTheText) {
  std::string bytes = "<gpx><wpt/>";
  bytes += '\0';
  bytes += "</gpx>";
  EXPECT_EQ(Load(bytes), TLoadResult::NotGpx);
}

TEST_F(HostileGpx, EveryTruncationFailsCleanly) {
  const std::string whole =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "<wpt lat=\"1\" lon=\"2\"><name>A &amp; B</name><desc><![CDATA[x]]></desc></wpt>\n"
      "<rte><name>R</name><rtept lat=\"3\" lon=\"4\"/></rte>\n"
      "<trk><trkseg><trkpt lat=\"5\" "
      "lon=\"6\"><ele>7</ele><time>2010-05-12T10:20:30Z</time></trkpt>"
      "</trkseg></trk>\n</gpx>";
  for (std::size_t length = 0; length < whole.size(); ++length) {
    EXPECT_EQ(Load(whole.substr(0, length)), TLoadResult::NotGpx) << length;
    EXPECT_FALSE(FData.Waypoints) << length;
  }
  EXPECT_EQ(Load(whole), TLoadResult::Loaded);
}

TEST_F(HostileGpx, TruncatedUtf16Fails) {
  std::string bytes = "\xFF\xFE";
  for (char c : std::string("<gpx><wpt><name>abc</name></wpt></gpx>")) {
    bytes += c;
    bytes += '\0';
  }
  bytes.resize(bytes.size() - 7);
  EXPECT_EQ(Load(bytes), TLoadResult::NotGpx);
}

}  // namespace
}  // namespace tarvola::gps
