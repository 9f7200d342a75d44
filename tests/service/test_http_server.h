#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPair>
#include <QString>
#include <QTcpServer>

namespace tarvola::test {

// One canned answer of the test server.
struct THttpAnswer {
  int Status = 200;
  QByteArray Body;
  QList<QPair<QByteArray, QByteArray>> Headers;
  // Send the head and the body, announce more and never finish: a server that stalls.
  bool Stall = false;
  // No Content-Length: the body ends when the connection closes.
  bool NoLength = false;
  // As a proxy: answer 407 to a request without this Proxy-Authorization value.
  QByteArray ProxyAuthorization{};
};

struct TRecordedRequest {
  QByteArray Method;
  QByteArray Target;  // as on the request line: a path, or a full address when sent to a proxy
  QMap<QByteArray, QByteArray> Headers;  // names in lower case
};

// A small HTTP/1.1 server on 127.0.0.1 serving canned answers by path, on the thread
// that created it (the test's event loop must run for it to answer).
class TTestHttpServer : public QObject {
public:
  TTestHttpServer();

  quint16 Port() const { return FServer.serverPort(); }
  QString Url(const QString& pathAndQuery) const;
  void Answer(const QByteArray& path, THttpAnswer answer) { FAnswers[path] = std::move(answer); }
  const QList<TRecordedRequest>& Requests() const { return FRequests; }

private:
  void OnNewConnection();
  void OnReadyRead(class QTcpSocket* socket);

  QTcpServer FServer;
  QMap<QByteArray, THttpAnswer> FAnswers;
  QList<TRecordedRequest> FRequests;
};

// A port on 127.0.0.1 on which nobody listens.
quint16 ClosedPort();

}  // namespace tarvola::test
