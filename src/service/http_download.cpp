#include "service/http_download.h"

#include <memory>

#include <QAuthenticator>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QUrl>

#include "service/service_config.h"

namespace tarvola::service {

namespace {

// A stalled server must not keep the thread alive for the rest of the run.
constexpr int TransferTimeoutMs = 60'000;

// Failures of the connection or the proxy; Qt also reports a received error status as an
// error code, which the status itself decides.
bool IsTransportError(QNetworkReply::NetworkError error) {
  const int code = static_cast<int>(error);
  return code >= 1 && code <= 199;
}

QNetworkProxy ProxyFor(const TProxy& settings) {
  bool portOk = false;
  const ushort port = settings.Port.toUShort(&portOk);
  if (!settings.Enabled || settings.Address.isEmpty() || !portOk) return QNetworkProxy(QNetworkProxy::NoProxy);
  // Without credentials: the download gives them when the proxy asks for them.
  return QNetworkProxy(QNetworkProxy::HttpProxy, settings.Address, port);
}

class TDownload {
public:
  explicit TDownload(const TWorkInfo& info) : FInfo(info), FFile(info.FileName) {}
  ~TDownload() { FReply.reset(); }

  int Run(const std::function<bool()>& stopRequested);

private:
  bool Start();
  void DocBegin();
  void DocEnd();
  void ReceiveBody();
  void RequestDone();
  void Cancel(int outcome);

  const TWorkInfo& FInfo;
  QNetworkAccessManager FHttpCli;
  std::unique_ptr<QNetworkReply> FReply;
  QFile FFile;
  qint64 FReceived = 0;
  int FError = OutcomeUndecided;
  bool Connected = false;
  bool Working = false;
  bool FProxyAsked = false;
};

int TDownload::Run(const std::function<bool()>& stopRequested) {
  FError = OutcomeUndecided;
  Connected = false;
  Working = true;
  if (!Start()) {
    FError = OutcomeNoDocument;
    Working = false;
  }
  while (Connected || Working) {
    QThread::msleep(10);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (stopRequested()) {
      Cancel(OutcomeStopped);
      break;
    }
  }
  DocEnd();
  FReply.reset();
  if (FError > 0 && QFileInfo::exists(FInfo.FileName)) QFile::remove(FInfo.FileName);
  return FError;
}

bool TDownload::Start() {
  const QUrl url(FInfo.Url, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != u"http" && scheme != u"https") || FInfo.FileName.isEmpty()) return false;

  FHttpCli.setProxy(ProxyFor(FInfo.Proxy));
  // Offered once, so that credentials the proxy refuses end the download instead of looping.
  QObject::connect(&FHttpCli, &QNetworkAccessManager::proxyAuthenticationRequired, &FHttpCli,
                   [this](const QNetworkProxy&, QAuthenticator* authenticator) {
                     if (FProxyAsked || !FInfo.Proxy.Enabled || !FInfo.Proxy.Authenticate) return;
                     FProxyAsked = true;
                     authenticator->setUser(FInfo.Proxy.Username);
                     authenticator->setPassword(FInfo.Proxy.Password);
                   });
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::UserAgentHeader, config::UserAgent.toString());
  request.setRawHeader("From", config::Identification.toString().toUtf8());
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
  request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
  // Manual sends no credentials at all, the proxy's included.
  if (!FInfo.Proxy.Authenticate)
    request.setAttribute(QNetworkRequest::AuthenticationReuseAttribute, QNetworkRequest::Manual);
  request.setMaximumRedirectsAllowed(5);
  request.setTransferTimeout(TransferTimeoutMs);

  FReply.reset(FHttpCli.get(request));
  if (!FReply) return false;
  Connected = true;  // the client opens the connection for the reply
  QNetworkReply* reply = FReply.get();
  QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] {
    const QVariant length = FReply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > config::MaxDocumentSize) Cancel(OutcomeNoDocument);
  });
  QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { ReceiveBody(); });
  QObject::connect(reply, &QNetworkReply::finished, reply, [this] { RequestDone(); });
  return true;
}

void TDownload::DocBegin() {
  if (!FFile.isOpen()) FFile.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void TDownload::DocEnd() {
  if (FFile.isOpen()) FFile.close();
}

void TDownload::ReceiveBody() {
  if (!FReply) return;
  DocBegin();
  const QByteArray chunk = FReply->readAll();
  FReceived += chunk.size();
  if (FReceived > config::MaxDocumentSize) {
    Cancel(OutcomeNoDocument);
    return;
  }
  FFile.write(chunk);
}

void TDownload::RequestDone() {
  Connected = false;  // the reply is complete: the client is done with the connection
  const QNetworkReply::NetworkError error = FReply->error();
  const QVariant status = FReply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (IsTransportError(error) || !status.isValid()) {
    FError = OutcomeTransport;
  } else {
    const int code = status.toInt();
    if (code >= 200 && code <= 299) {
      ReceiveBody();
      if (FError != OutcomeUndecided) return;  // oversize on the last chunk
      DocBegin();
      DocEnd();
      FError = QFileInfo(FInfo.FileName).size() > 0 ? OutcomeSuccess : OutcomeNoDocument;
    } else {
      // The client follows redirections itself; one that reaches us was not followable.
      FError = OutcomeHttpStatus;
    }
  }
  if (FError >= 0) Working = false;
}

void TDownload::Cancel(int outcome) {
  if (FReply && Connected) {
    FReply->disconnect(FReply.get());  // ours only; the client keeps its own
    FReply->abort();
  }
  Connected = false;
  Working = false;
  FError = outcome;
}

}  // namespace

int DownloadToFile(const TWorkInfo& info, const std::function<bool()>& stopRequested) {
  TDownload download(info);
  return download.Run(stopRequested);
}

}  // namespace tarvola::service
