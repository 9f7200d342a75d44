#include "service/work_thread.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "service/service_config.h"
#include "service_test_support.h"
#include "test_http_server.h"
#include "test_support.h"

namespace tarvola::service {
namespace {

constexpr int WaitMs = 15000;

class WorkThreadTest : public ::testing::Test {
protected:
  TWorkInfo Info(const QString& url) {
    TWorkInfo info;
    info.Url = url;
    info.FileName = FTarget;
    return info;
  }

  // Runs a download to its end and answers its outcome code.
  int Download(const TWorkInfo& info) {
    TWorkTh thread(info);
    FCatcher.Watch(thread);
    thread.start(QThread::LowPriority);
    EXPECT_TRUE(QTest::qWaitFor([&] { return FCatcher.Success.has_value(); }, WaitMs));
    thread.wait();
    EXPECT_EQ(*FCatcher.Success, thread.Outcome() == OutcomeSuccess);
    return thread.Outcome();
  }

  QTemporaryDir FDir;
  const QString FTarget = FDir.filePath(QStringLiteral("target.dat"));
  test::TDoneCatcher FCatcher;
  test::TTestHttpServer FServer;
};

// Each row requests /doc?a=1; the server answers by the path alone.
struct TServedRow {
  const char* Name;
  std::optional<test::THttpAnswer> Answer;  // none: the server knows no /doc
  int Outcome;
  std::optional<QByteArray> Written;  // none: no file is left
};

void PrintTo(const TServedRow& row, std::ostream* os) { *os << row.Name; }

class WorkThreadServedTest : public WorkThreadTest, public ::testing::WithParamInterface<TServedRow> {};

TEST_P(WorkThreadServedTest, EndsWithItsOutcome) {
  const TServedRow& row = GetParam();
  if (row.Answer) FServer.Answer("/doc", *row.Answer);
  EXPECT_EQ(Download(Info(FServer.Url(QStringLiteral("/doc?a=1")))), row.Outcome);
  if (!row.Written) {
    EXPECT_FALSE(QFileInfo::exists(FTarget));
    return;
  }
  QFile file(FTarget);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), *row.Written);
}

const QByteArray Oversize(config::MaxDocumentSize + 1, 'x');
const QByteArray FullSize(config::MaxDocumentSize, 'x');
using test::THttpAnswer;

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkThreadServedTest,
    ::testing::Values(
        TServedRow{"DocumentIsWrittenToTheTarget", THttpAnswer{200, "[Service]\nId=x\n", {}, false}, OutcomeSuccess,
                   "[Service]\nId=x\n"},
        TServedRow{"EmptyBodyIsNoDocumentAndLeavesNoFile", THttpAnswer{200, "", {}, false}, OutcomeNoDocument,
                   std::nullopt},
        TServedRow{"NotFoundIsAStatusFailure", std::nullopt, OutcomeHttpStatus, std::nullopt},
        TServedRow{"RedirectionWithoutTargetEnds", THttpAnswer{302, "nowhere", {}, false}, OutcomeHttpStatus,
                   std::nullopt},
        TServedRow{"OversizeDocumentIsStopped", THttpAnswer{200, Oversize, {}, false}, OutcomeNoDocument, std::nullopt},
        TServedRow{"OversizeDocumentWithoutLengthIsStopped", THttpAnswer{200, Oversize, {}, false, true},
                   OutcomeNoDocument, std::nullopt},
        TServedRow{"DocumentWithoutLengthIsTaken", THttpAnswer{200, "[Service]\n", {}, false, true}, OutcomeSuccess,
                   "[Service]\n"},
        TServedRow{"DocumentOfTheLimitIsTaken", THttpAnswer{200, FullSize, {}, false}, OutcomeSuccess, FullSize}),
    test::TRowName());

TEST_F(WorkThreadTest, RequestCarriesOurHeadersAndNoCredentials) {
  FServer.Answer("/doc", {200, "x", {}, false});
  Download(Info(FServer.Url(QStringLiteral("/doc?p=1&q=2&r=3"))));
  ASSERT_EQ(FServer.Requests().size(), 1);
  const test::TRecordedRequest& request = FServer.Requests().front();
  EXPECT_EQ(request.Method, QByteArray("GET"));
  EXPECT_EQ(request.Target, QByteArray("/doc?p=1&q=2&r=3"));
  EXPECT_EQ(request.Headers.value("user-agent"), config::UserAgent.toString().toUtf8());
  EXPECT_EQ(request.Headers.value("from"), config::Identification.toString().toUtf8());
  EXPECT_FALSE(request.Headers.contains("referer"));
  EXPECT_FALSE(request.Headers.contains("authorization"));
  EXPECT_FALSE(request.Headers.contains("if-modified-since"));
}

TEST_F(WorkThreadTest, RedirectionIsFollowed) {
  FServer.Answer("/old", {302, "moved", {{"Location", "/doc"}}, false});
  FServer.Answer("/doc", {200, "body", {}, false});
  EXPECT_EQ(Download(Info(FServer.Url(QStringLiteral("/old")))), OutcomeSuccess);
  EXPECT_EQ(FServer.Requests().size(), 2);
  QFile file(FTarget);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("body"));
}

TEST_F(WorkThreadTest, RefusedConnectionIsATransportFailure) {
  const QString url = QStringLiteral("http://127.0.0.1:%1/doc").arg(test::ClosedPort());
  EXPECT_EQ(Download(Info(url)), OutcomeTransport);
  EXPECT_FALSE(QFileInfo::exists(FTarget));
}

TEST_F(WorkThreadTest, AddressThatCannotBeRequestedIsNoDocument) {
  EXPECT_EQ(Download(Info(QStringLiteral("ftp://127.0.0.1/doc"))), OutcomeNoDocument);
  EXPECT_TRUE(FServer.Requests().isEmpty());
}

TEST_F(WorkThreadTest, StopDuringDownloadAbortsAndLeavesNoFile) {
  FServer.Answer("/slow", {200, QByteArray(100, 'x'), {}, true});
  TWorkTh thread(Info(FServer.Url(QStringLiteral("/slow"))));
  FCatcher.Watch(thread);
  thread.start(QThread::LowPriority);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(FTarget).size() == 100; }, WaitMs));
  thread.Stop();
  ASSERT_TRUE(thread.wait(WaitMs));
  EXPECT_EQ(thread.Outcome(), OutcomeStopped);
  EXPECT_FALSE(QFileInfo::exists(FTarget));
  QTest::qWait(50);
  ASSERT_TRUE(FCatcher.Success.has_value());
  EXPECT_FALSE(*FCatcher.Success);
}

TEST_F(WorkThreadTest, StoppedBeforeStartDoesNothing) {
  FServer.Answer("/doc", {200, "x", {}, false});
  TWorkTh thread(Info(FServer.Url(QStringLiteral("/doc"))));
  FCatcher.Watch(thread);
  thread.Stop();
  thread.start();
  ASSERT_TRUE(thread.wait(WaitMs));
  QTest::qWait(50);
  EXPECT_FALSE(FCatcher.Success.has_value());
  EXPECT_TRUE(FServer.Requests().isEmpty());
}

TEST_F(WorkThreadTest, EnabledProxyReceivesTheRequest) {
  test::TTestHttpServer proxy;
  proxy.Answer("/doc", {200, "via proxy", {}, false});
  TWorkInfo info = Info(QStringLiteral("http://127.0.0.1:%1/doc?x=1").arg(test::ClosedPort()));
  info.Proxy.Enabled = true;
  info.Proxy.Address = QStringLiteral("127.0.0.1");
  info.Proxy.Port = QString::number(proxy.Port());
  EXPECT_EQ(Download(info), OutcomeSuccess);
  ASSERT_EQ(proxy.Requests().size(), 1);
  EXPECT_TRUE(proxy.Requests().front().Target.startsWith("http://127.0.0.1:"));
  EXPECT_TRUE(proxy.Requests().front().Target.endsWith("/doc?x=1"));
  EXPECT_FALSE(proxy.Requests().front().Headers.contains("proxy-authorization"));
}

}  // namespace
}  // namespace tarvola::service
