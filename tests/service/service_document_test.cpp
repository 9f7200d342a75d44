#include "service/service_document.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "service/notice_date_store.h"
#include "service/service_config.h"
#include "test_support.h"

namespace tarvola::service {
namespace {

const QByteArray GoodDocument =
    "; served for tests\n"
    "[Service]\nId = tarvola-gpx2kml\n"
    "[Version]\nBuild=053100\nVersion=5.4\nUrl=https://tarvola.example/get\n"
    "[Links]\nUrl=https://tarvola.example/new-home\nContact=https://tarvola.example/new-contact\n"
    "NewsMsg=Fresh maps are out.\nNewsUrl=https://tarvola.example/news\n"
    "Products=https://tarvola.example/new-products\nVideo=https://tarvola.example/new-video\n";

TService Initial() {
  TService service;
  service.HomeUrl = QStringLiteral("home0");
  service.HomeContact = QStringLiteral("contact0");
  service.ProdUrl = QStringLiteral("prod0");
  service.Video = QStringLiteral("video0");
  service.PopMsg = QStringLiteral("old news");
  service.PopUrl = QStringLiteral("old news page");
  return service;
}

TEST(ParseServiceDocumentTest, NamesIgnoreCaseAndValuesAreTrimmed) {
  const TServiceDocument doc = ParseServiceDocument("[SERVICE]\r\nid=  tarvola-gpx2kml  \r\n[version]\r\nBUILD =053000\r\n");
  EXPECT_EQ(doc.Identification, QStringLiteral("tarvola-gpx2kml"));
  EXPECT_EQ(doc.Build, QStringLiteral("053000"));
}

TEST(ParseServiceDocumentTest, KeysOfOtherSectionsDoNotCount) {
  const TServiceDocument doc = ParseServiceDocument("[Links]\nBuild=1\nId=tarvola-gpx2kml\n[Other]\nUrl=x\n");
  EXPECT_TRUE(doc.Build.isEmpty());
  EXPECT_TRUE(doc.Identification.isEmpty());
  EXPECT_TRUE(doc.Home.isEmpty());
}

TEST(ParseServiceDocumentTest, SameKeyAsUpdateAddressAndHomeStayApart) {
  const TServiceDocument doc = ParseServiceDocument("[Links]\nUrl=home\n[Version]\nUrl=update\n");
  EXPECT_EQ(doc.Home, QStringLiteral("home"));
  EXPECT_EQ(doc.UpdateUrl, QStringLiteral("update"));
}

TEST(ParseServiceDocumentTest, KeepsUtf8Text) {
  const TServiceDocument doc = ParseServiceDocument("[Links]\nNewsMsg=Karten f\xc3\xbcr S\xc3\xbc" "dtirol\n");
  EXPECT_EQ(doc.NewsMsg, QString::fromUtf8("Karten f\xc3\xbcr S\xc3\xbc" "dtirol"));
}

TEST(ParseServiceDocumentTest, LongNewsMessageIsKeptWhole) {
  const QByteArray news(1500, 'n');
  const TServiceDocument doc = ParseServiceDocument("[Links]\nNewsMsg=" + news + "\nNewsUrl=u\n");
  EXPECT_EQ(doc.NewsMsg.size(), news.size());
  EXPECT_EQ(doc.NewsUrl, QStringLiteral("u"));
}

// As INI files are commonly written: a byte order mark, comments, "name: value", and a line of
// neither kind that does not stop the reading.
TEST(ParseServiceDocumentTest, CommentsColonsAndStrayLinesFollowTheCommonRules) {
  const TServiceDocument doc = ParseServiceDocument(
      "\xEF\xBB\xBF[Links] ; the links\n; Url=commented\n# Video=commented\nno separator here\n[broken\n"
      "Url = https://tarvola.example/a;b ; note\nVideo: clip\n=nameless\n");
  EXPECT_EQ(doc.Home, QStringLiteral("https://tarvola.example/a;b"));
  EXPECT_EQ(doc.Video, QStringLiteral("clip"));
}

TEST(ParseServiceDocumentTest, FirstOfTwoEqualKeysCounts) {
  EXPECT_EQ(ParseServiceDocument("[Links]\nVideo=first\nVideo=second\n").Video, QStringLiteral("first"));
}

TEST(ReadServiceDocumentTest, MissingFileIsNoDocument) {
  QTemporaryDir dir;
  EXPECT_FALSE(ReadServiceDocument(dir.filePath(QStringLiteral("absent.dat"))).has_value());
}

// The settings a document is applied to, starting from known values.
class ApplyServiceDocumentTest : public ::testing::Test {
protected:
  TDocumentOutcome Apply(const QByteArray& text) { return ApplyServiceDocument(ParseServiceDocument(text), FService); }
  static QByteArray GoodWith(const QByteArray& from, const QByteArray& to) {
    return QByteArray(GoodDocument).replace(from, to);
  }

  TService FService = Initial();
};

TEST_F(ApplyServiceDocumentTest, TakesLinksAndOffersAnotherBuild) {
  const TDocumentOutcome outcome = Apply(GoodDocument);
  EXPECT_TRUE(outcome.Identified);
  EXPECT_EQ(FService.HomeUrl, QStringLiteral("https://tarvola.example/new-home"));
  EXPECT_EQ(FService.HomeContact, QStringLiteral("https://tarvola.example/new-contact"));
  EXPECT_EQ(FService.ProdUrl, QStringLiteral("https://tarvola.example/new-products"));
  EXPECT_EQ(FService.Video, QStringLiteral("https://tarvola.example/new-video"));
  EXPECT_EQ(FService.PopMsg, QStringLiteral("Fresh maps are out."));
  EXPECT_EQ(FService.PopUrl, QStringLiteral("https://tarvola.example/news"));
  EXPECT_EQ(FService.UpdateUrl, QStringLiteral("https://tarvola.example/get"));
  EXPECT_TRUE(outcome.UpdateText.contains(QStringLiteral("Tarvola")));
  EXPECT_TRUE(outcome.UpdateText.contains(QStringLiteral("5.4")));
  EXPECT_TRUE(outcome.UpdateText.contains(QStringLiteral("053100")));
  EXPECT_LT(outcome.UpdateText.indexOf(QStringLiteral("5.4")), outcome.UpdateText.indexOf(QStringLiteral("053100")));
}

TEST_F(ApplyServiceDocumentTest, WrongIdentificationChangesNothing) {
  const TDocumentOutcome outcome = Apply(GoodWith("tarvola-gpx2kml", "tarvola-gpx2kml-other"));
  EXPECT_FALSE(outcome.Identified);
  EXPECT_TRUE(outcome.UpdateText.isEmpty());
  EXPECT_EQ(FService.HomeUrl, QStringLiteral("home0"));
  EXPECT_EQ(FService.PopMsg, QStringLiteral("old news"));
  EXPECT_TRUE(FService.UpdateUrl.isEmpty());
}

TEST_F(ApplyServiceDocumentTest, IdentificationIsCaseSensitive) {
  EXPECT_FALSE(Apply(GoodWith("tarvola-gpx2kml", "Tarvola-GPX2KML")).Identified);
}

TEST_F(ApplyServiceDocumentTest, OwnBuildGivesNoOffer) {
  const TDocumentOutcome outcome =
      Apply(GoodWith("Build=053100", "Build=053000").replace("Version=5.4", "Version=9.9"));
  EXPECT_TRUE(outcome.Identified);
  EXPECT_TRUE(outcome.UpdateText.isEmpty());
  EXPECT_TRUE(FService.UpdateUrl.isEmpty());
}

struct TBuildRow {
  const char* Name;
  const char* Build;
};

void PrintTo(const TBuildRow& row, std::ostream* os) { *os << row.Name; }


class OtherBuildTest : public ApplyServiceDocumentTest, public ::testing::WithParamInterface<TBuildRow> {};

TEST_P(OtherBuildTest, AnyOtherBuildGivesAnOffer) {
  EXPECT_FALSE(Apply(GoodWith("Build=053100", QByteArray("Build=") + GetParam().Build)).UpdateText.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Values, OtherBuildTest,
                         ::testing::Values(TBuildRow{"Higher", "053100"}, TBuildRow{"Lower", "052999"},
                                           TBuildRow{"Empty", ""}, TBuildRow{"Text", "next"}),
                         test::TRowName());

TEST_F(ApplyServiceDocumentTest, EmptyLinksKeepTheOldOnesButNewsIsCleared) {
  const TDocumentOutcome outcome =
      Apply("[Service]\nId=tarvola-gpx2kml\n[Version]\nBuild=053000\n[Links]\nUrl=\nVideo=\n");
  EXPECT_TRUE(outcome.Identified);
  EXPECT_EQ(FService.HomeUrl, QStringLiteral("home0"));
  EXPECT_EQ(FService.HomeContact, QStringLiteral("contact0"));
  EXPECT_EQ(FService.ProdUrl, QStringLiteral("prod0"));
  EXPECT_EQ(FService.Video, QStringLiteral("video0"));
  EXPECT_TRUE(FService.PopMsg.isEmpty());
  EXPECT_TRUE(FService.PopUrl.isEmpty());
}

TEST(NoticeDateTest, EncodingRoundTripsAndHidesTheText) {
  const QString date = QStringLiteral("09/12/2026");
  const QByteArray stored = EncodeNoticeDate(date);
  EXPECT_FALSE(stored.contains("2026"));
  EXPECT_EQ(DecodeNoticeDate(stored), date);
  EXPECT_TRUE(DecodeNoticeDate("%%% not base64").isEmpty());
}

TEST(NoticeDateTest, StoreKeepsTheLastDate) {
  WriteNoticeDate(QStringLiteral("1.2.26"));
  WriteNoticeDate(QStringLiteral("2.2.26"));
  EXPECT_EQ(ReadNoticeDate(), QStringLiteral("2.2.26"));
}

}  // namespace
}  // namespace tarvola::service
