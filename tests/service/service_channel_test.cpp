#include "service/service_channel.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "app/service_notices.h"
#include "scripted_prompts.h"
#include "test_support.h"
#include "service/notice_date_store.h"
#include "service/service_config.h"
#include "service/service_data.h"
#include "service_test_support.h"
#include "test_http_server.h"

namespace tarvola::service {
namespace {

constexpr int WaitMs = 15000;

QByteArray Document(const QByteArray& id, const QByteArray& build) {
  return "[Service]\nId=" + id + "\n[Version]\nBuild=" + build +
         "\nVersion=5.4\nUrl=https://tarvola.example/get\n"
         "[Links]\nUrl=https://tarvola.example/new-home\nNewsMsg=Fresh maps are out.\n"
         "NewsUrl=https://tarvola.example/news\n";
}

const QByteArray OurId = config::Identification.toString().toUtf8();
const QByteArray OwnBuild = QByteArray::fromStdString(test::BuildNumber());
const QByteArray NewerBuild = QByteArray::fromStdString(test::BuildNumber(100));
const QByteArray OlderBuild = QByteArray::fromStdString(test::BuildNumber(-1000));

QString Today() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

class ServiceChannelTest : public ::testing::Test {
protected:
  void SetUp() override {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, config::SettingsOrganization.toString(),
              config::SettingsApplication.toString())
        .clear();
  }

  // A run of the program: a window with its channel, shown for the first time.
  void StartRun(const QString& endpoint) {
    FEndpoint.emplace("TARVOLA_SERVICE_URL", endpoint.toUtf8());
    const TLinkOpener opener = [this](const QString& url) {
      FOpened.append(url);
      return true;
    };
    FChannel = std::make_unique<TServiceChannel>(FTemp.path(), [this, opener](const TServiceNotices& notices) {
      app::PresentServiceNotices(&FWindow, FPrompts, opener, notices);
    });
    FWindow.Channel = FChannel.get();
    FWindow.show();
    FChannel->FirstShow();
  }

  // A run whose endpoint serves `document`; true once it has ended.
  bool RunServing(const QByteArray& document) {
    FServer.Answer("/service", {200, document, {}, false});
    StartRun(FServer.Url(QStringLiteral("/service")));
    return WaitForEnd();
  }

  // The news is shown, but no update is offered and the window stays.
  void ExpectTheNewsAlone() const {
    ASSERT_EQ(FPrompts.Messages.size(), 1u);
    EXPECT_EQ(FPrompts.Messages[0].Icon, ui::TDialogIcon::Information);
    EXPECT_EQ(FWindow.Closes, 0);
  }

  bool WaitForEnd() {
    return QTest::qWaitFor([&] { return FChannel->LastOutcome().has_value() && !FChannel->WorkWorking(); },
                           WaitMs);
  }

  QStringList TempFiles() const { return QDir(FTemp.path()).entryList(QDir::Files); }

  test::TEnvGuard FHttpProxy{"http_proxy", std::nullopt};
  test::TEnvGuard FHttpProxyUpper{"HTTP_PROXY", std::nullopt};
  std::optional<test::TEnvGuard> FEndpoint;
  QTemporaryDir FTemp;
  test::TTestHttpServer FServer;
  test::TScriptedPrompts FPrompts;
  QStringList FOpened;
  test::TStandInWindow FWindow;
  std::unique_ptr<TServiceChannel> FChannel;
};

TEST_F(ServiceChannelTest, GoodDocumentUpdatesLinksAndShowsNotices) {
  FPrompts.MessageAnswers = {ui::TDialogResult::Ok, ui::TDialogResult::No};
  ASSERT_TRUE(RunServing(Document(OurId, NewerBuild)));
  EXPECT_EQ(*FChannel->LastOutcome(), OutcomeSuccess);

  ASSERT_EQ(FServer.Requests().size(), 1);
  EXPECT_EQ(FServer.Requests().front().Target, "/service?" + config::ServiceQuery.toString().toUtf8());
  EXPECT_EQ(ServiceData().HomeUrl, QStringLiteral("https://tarvola.example/new-home"));
  EXPECT_EQ(ServiceData().Video, config::VideoUrl.toString());

  ASSERT_EQ(FPrompts.Messages.size(), 2u);
  EXPECT_EQ(FPrompts.Messages[0].Title, QStringLiteral("Tarvola"));
  EXPECT_EQ(FPrompts.Messages[0].MainText, QStringLiteral("Fresh maps are out."));
  EXPECT_TRUE(FPrompts.Messages[0].Content.isEmpty());
  EXPECT_EQ(FPrompts.Messages[0].Icon, ui::TDialogIcon::Information);
  EXPECT_EQ(FPrompts.Messages[0].Buttons, ui::ButtonsOk);
  EXPECT_EQ(FPrompts.Messages[1].Icon, ui::TDialogIcon::Question);
  EXPECT_EQ(FPrompts.Messages[1].Buttons, ui::ButtonsYesNoCancel);
  EXPECT_TRUE(FPrompts.Messages[1].MainText.contains(QString::fromLatin1(NewerBuild)));
  // No: the news page only, the window stays.
  EXPECT_EQ(FOpened, QStringList{QStringLiteral("https://tarvola.example/news")});
  EXPECT_EQ(FWindow.Closes, 0);
  EXPECT_EQ(ReadNoticeDate(), Today());
  EXPECT_TRUE(TempFiles().isEmpty());
  EXPECT_FALSE(FChannel->HasWorkThread());
}

TEST_F(ServiceChannelTest, YesOpensTheUpdatePageAndClosesTheWindow) {
  FPrompts.MessageAnswers = {ui::TDialogResult::Ok, ui::TDialogResult::Yes};
  ASSERT_TRUE(RunServing(Document(OurId, OlderBuild)));
  EXPECT_EQ(FOpened, (QStringList{QStringLiteral("https://tarvola.example/news"),
                                  QStringLiteral("https://tarvola.example/get")}));
  EXPECT_EQ(FWindow.Closes, 1);
  EXPECT_FALSE(FWindow.isVisible());
}

TEST_F(ServiceChannelTest, OwnBuildAsksNothing) {
  ASSERT_TRUE(RunServing(Document(OurId, OwnBuild)));
  ExpectTheNewsAlone();
}

TEST_F(ServiceChannelTest, WrongIdentificationRecordsTheDayAndShowsNothing) {
  ASSERT_TRUE(RunServing(Document("someone-else", NewerBuild)));
  EXPECT_TRUE(FPrompts.Messages.empty());
  EXPECT_TRUE(FOpened.isEmpty());
  EXPECT_EQ(ServiceData().HomeUrl, config::HomeUrl.toString());
  EXPECT_EQ(ReadNoticeDate(), Today());
  EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(ServiceChannelTest, SecondRunOnTheSameDayShowsNothing) {
  FPrompts.MessageAnswers = {ui::TDialogResult::Ok, ui::TDialogResult::No};
  ASSERT_TRUE(RunServing(Document(OurId, NewerBuild)));
  ASSERT_EQ(FPrompts.Messages.size(), 2u);

  FChannel.reset();
  FPrompts.Messages.clear();
  FOpened.clear();
  StartRun(FServer.Url(QStringLiteral("/service")));
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(FServer.Requests().size(), 2);
  EXPECT_EQ(ServiceData().HomeUrl, QStringLiteral("https://tarvola.example/new-home"));
  EXPECT_TRUE(FPrompts.Messages.empty());
  EXPECT_TRUE(FOpened.isEmpty());
}

TEST_F(ServiceChannelTest, OtherBuildWithoutUpdateAddressAsksNothing) {
  QByteArray document = Document(OurId, NewerBuild);
  ASSERT_TRUE(RunServing(document.replace("Url=https://tarvola.example/get", "Url=")));
  ExpectTheNewsAlone();
}

TEST_F(ServiceChannelTest, FailedDownloadShowsNothingAndRecordsNoDay) {
  StartRun(FServer.Url(QStringLiteral("/missing")));
  ASSERT_TRUE(WaitForEnd());
  EXPECT_EQ(*FChannel->LastOutcome(), OutcomeHttpStatus);
  EXPECT_TRUE(FPrompts.Messages.empty());
  EXPECT_TRUE(ReadNoticeDate().isEmpty());
  EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(ServiceChannelTest, CloseDuringDownloadStopsItAndLeavesNoFile) {
  FServer.Answer("/service", {200, "[Service]\n", {}, true});
  StartRun(FServer.Url(QStringLiteral("/service")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !TempFiles().isEmpty(); }, WaitMs));
  ASSERT_TRUE(FChannel->WorkWorking());
  FWindow.close();
  EXPECT_FALSE(FChannel->WorkWorking());
  EXPECT_FALSE(FChannel->HasWorkThread());
  EXPECT_EQ(FChannel->LastOutcome(), OutcomeStopped);
  EXPECT_TRUE(TempFiles().isEmpty());
  QTest::qWait(50);  // the stopped thread's last event changes nothing
  EXPECT_TRUE(FPrompts.Messages.empty());
}

TEST_F(ServiceChannelTest, NoEndpointStartsNothing) {
  StartRun(QString());
  QTest::qWait(100);
  EXPECT_FALSE(FChannel->WorkWorking());
  EXPECT_FALSE(FChannel->HasWorkThread());
  EXPECT_FALSE(FChannel->LastOutcome().has_value());
  EXPECT_TRUE(FChannel->WorkFile().isEmpty());
}

TEST_F(ServiceChannelTest, ProxyFromTheEnvironmentReceivesTheRequest) {
  test::TTestHttpServer proxy;
  proxy.Answer("/service", {200, Document(OurId, OwnBuild), {}, false});
  test::TEnvGuard useProxy("http_proxy", QStringLiteral("http://127.0.0.1:%1/").arg(proxy.Port()).toUtf8());
  const QString unreachable = QStringLiteral("http://127.0.0.1:%1/service").arg(test::ClosedPort());
  StartRun(unreachable);
  ASSERT_TRUE(WaitForEnd());
  EXPECT_TRUE(SystemProxy().Enabled);
  EXPECT_EQ(*FChannel->LastOutcome(), OutcomeSuccess);
  ASSERT_EQ(proxy.Requests().size(), 1);
  EXPECT_TRUE(proxy.Requests().front().Target.startsWith(unreachable.toUtf8() + '?'));
  EXPECT_EQ(ServiceData().HomeUrl, QStringLiteral("https://tarvola.example/new-home"));
}

TEST_F(ServiceChannelTest, ProxyCredentialsFromTheEnvironmentAreSentWhenAskedAndOnlyOnce) {
  const std::pair<const char*, int> rows[] = {{"s@cret", OutcomeSuccess}, {"wrong", OutcomeTransport}};
  for (const auto& [password, outcome] : rows) {
    SCOPED_TRACE(password);
    test::TTestHttpServer proxy;
    test::THttpAnswer answer{200, Document(OurId, OwnBuild), {}, false, false, {}};
    answer.ProxyAuthorization = "Basic " + QByteArray("me:s@cret").toBase64();
    proxy.Answer("/service", answer);
    const QString user = QStringLiteral("me:%1").arg(QString::fromUtf8(QUrl::toPercentEncoding(password)));
    test::TEnvGuard useProxy("http_proxy", QStringLiteral("http://%1@127.0.0.1:%2/").arg(user).arg(proxy.Port()).toUtf8());
    StartRun(QStringLiteral("http://127.0.0.1:%1/service").arg(test::ClosedPort()));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(*FChannel->LastOutcome(), outcome);
    ASSERT_EQ(proxy.Requests().size(), 2) << "asked without credentials, then with them once";
    EXPECT_FALSE(proxy.Requests().front().Headers.contains("proxy-authorization"));
  }
}

TEST_F(ServiceChannelTest, ConstructionResetsTheSettings) {
  ServiceData().HomeUrl = QStringLiteral("left over");
  SystemProxy().Enabled = true;
  StartRun(QString());
  EXPECT_EQ(ServiceData().HomeUrl, config::HomeUrl.toString());
  EXPECT_EQ(ServiceData().HomeContact, config::ContactUrl.toString());
  EXPECT_EQ(ServiceData().ProdUrl, config::ProductsUrl.toString());
  EXPECT_TRUE(ServiceData().PopMsg.isEmpty());
  EXPECT_FALSE(SystemProxy().Enabled);
  EXPECT_FALSE(SystemProxy().Authenticate);
}

TEST(ServiceEndpointTest, EnvironmentOverridesAndEmptySwitchesOff) {
  {
    test::TEnvGuard set("TARVOLA_SERVICE_URL", QByteArray("https://127.0.0.1:1/s"));
    EXPECT_EQ(ServiceEndpoint(), QStringLiteral("https://127.0.0.1:1/s"));
  }
  {
    test::TEnvGuard empty("TARVOLA_SERVICE_URL", QByteArray(""));
    EXPECT_TRUE(ServiceEndpoint().isEmpty());
  }
  test::TEnvGuard unset("TARVOLA_SERVICE_URL", std::nullopt);
  EXPECT_EQ(ServiceEndpoint(), config::BuiltInServiceUrl.toString());
}

TEST(ServiceRequestUrlTest, QueryIsAppended) {
  const QString query = config::ServiceQuery.toString();
  EXPECT_EQ(ServiceRequestUrl(QStringLiteral("https://h/s")), QStringLiteral("https://h/s?") + query);
  EXPECT_EQ(ServiceRequestUrl(QStringLiteral("https://h/s?k=1")), QStringLiteral("https://h/s?k=1&") + query);
}

}  // namespace
}  // namespace tarvola::service
