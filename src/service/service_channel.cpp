#include "service/service_channel.h"

#include <chrono>

#include <QDate>
#include <QFile>
#include <QLocale>

#include "service/notice_date_store.h"
#include "service/service_config.h"
#include "service/service_document.h"
#include "service/system_proxy.h"
#include "service/temp_file_name.h"

namespace tarvola::service {

namespace {

std::mt19937 ClockSeeded() {
  const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  return std::mt19937(static_cast<std::mt19937::result_type>(ticks));
}

}  // namespace

TServiceChannel::TServiceChannel(QString tempDir, TNoticesHandler onNotices, QObject* parent)
    : QObject(parent),
      FTempDir(std::move(tempDir)),
      FOnNotices(std::move(onNotices)),
      FEndpoint(ServiceEndpoint()),
      FRandom(ClockSeeded()) {
  InitServiceSettings();
}

TServiceChannel::~TServiceChannel() {
  StopWork();
  ReleaseWorkTh();
}

void TServiceChannel::FirstShow() {
  const TProxyAddress proxy = ReadSystemProxy(QStringLiteral("http"));
  TProxy& systemProxy = SystemProxy();
  systemProxy.Address = proxy.Address;
  systemProxy.Port = proxy.Port;
  systemProxy.Enabled = !proxy.Address.isEmpty() && !proxy.Port.isEmpty();
  systemProxy.Authenticate = !proxy.User.isEmpty();
  systemProxy.Username = proxy.User;
  systemProxy.Password = proxy.Password;
  ServiceData().DateShown = ReadNoticeDate();
  // After the events already waiting, the first paint among them.
  if (!FEndpoint.isEmpty()) QMetaObject::invokeMethod(this, &TServiceChannel::ServiceStart, Qt::QueuedConnection);
}

void TServiceChannel::CloseQuery() {
  if (FWorkWorking) StopWork();
  if (!FWorkFile.isEmpty() && QFile::exists(FWorkFile)) QFile::remove(FWorkFile);
}

void TServiceChannel::ServiceStart() {
  // Once per run, and only with an endpoint to ask.
  if (FStarted || FEndpoint.isEmpty()) return;
  FStarted = true;
  FWorkFile = UniqueTempFileName(FTempDir, FRandom);
  FWorkWorking = true;
  TWorkInfo info;
  info.Url = ServiceRequestUrl(FEndpoint);
  info.FileName = FWorkFile;
  info.Proxy = SystemProxy();
  FWorkTh = std::make_unique<TWorkTh>(std::move(info));
  connect(FWorkTh.get(), &TWorkTh::Done, this, &TServiceChannel::ServiceDone, Qt::QueuedConnection);
  connect(FWorkTh.get(), &QThread::finished, this, &TServiceChannel::WorkThTerminated, Qt::QueuedConnection);
  FWorkTh->start(QThread::LowPriority);
}

void TServiceChannel::ServiceDone(bool success) {
  if (success && QFile::exists(FWorkFile)) {
    const std::optional<TServiceDocument> document = ReadServiceDocument(FWorkFile);
    QFile::remove(FWorkFile);
    TDocumentOutcome outcome;
    if (document) outcome = ApplyServiceDocument(*document, ServiceData());
    ShowNotices(outcome.UpdateText);
  }
  ReleaseWorkTh();
}

void TServiceChannel::ShowNotices(const QString& updateText) {
  TService& data = ServiceData();
  const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
  if (today == data.DateShown) return;
  data.DateShown = today;
  WriteNoticeDate(today);
  TServiceNotices notices;
  notices.Title = config::DisplayName.toString();
  notices.Message = data.PopMsg;
  notices.PageUrl = data.PopUrl;
  // An offer without a page to go to would only close the program.
  if (!updateText.isEmpty() && !data.UpdateUrl.isEmpty()) {
    notices.UpdateText = updateText;
    notices.UpdateUrl = data.UpdateUrl;
  }
  if (FOnNotices) FOnNotices(notices);
}

void TServiceChannel::StopWork() {
  if (!FWorkWorking || !FWorkTh) return;
  FWorkTh->setPriority(QThread::NormalPriority);
  disconnect(FWorkTh.get(), nullptr, this, nullptr);
  FWorkTh->Stop();
  // The thread only queues calls to this thread, so waiting cannot lock.
  FWorkTh->wait();
  ReleaseWorkTh();
  FWorkWorking = false;
}

void TServiceChannel::WorkThTerminated() {
  ReleaseWorkTh();
  FWorkWorking = false;
}

void TServiceChannel::ReleaseWorkTh() {
  if (!FWorkTh) return;
  FWorkTh->wait();  // it has signalled its end; this returns at once
  FLastOutcome = FWorkTh->Outcome();
  FWorkTh.reset();
}

}  // namespace tarvola::service
