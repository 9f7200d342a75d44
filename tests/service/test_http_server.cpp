#include "test_http_server.h"

#include <QTcpSocket>
#include <QUrl>

namespace tarvola::test {

namespace {

QByteArray ReasonFor(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    default: return "Status";
  }
}

TRecordedRequest ParseHead(const QByteArray& head) {
  TRecordedRequest request;
  const QList<QByteArray> lines = head.split('\n');
  const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
  request.Method = first.value(0);
  request.Target = first.value(1);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines[i].indexOf(':');
    if (colon > 0) request.Headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
  }
  return request;
}

QByteArray PathOf(const QByteArray& target) {
  return QUrl(QString::fromLatin1(target)).path().toLatin1();
}

}  // namespace

TTestHttpServer::TTestHttpServer() {
  FServer.listen(QHostAddress::LocalHost, 0);
  connect(&FServer, &QTcpServer::newConnection, this, &TTestHttpServer::OnNewConnection);
}

QString TTestHttpServer::Url(const QString& pathAndQuery) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(Port()).arg(pathAndQuery);
}

void TTestHttpServer::OnNewConnection() {
  while (QTcpSocket* socket = FServer.nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void TTestHttpServer::OnReadyRead(QTcpSocket* socket) {
  QByteArray buffer = socket->property("head").toByteArray() + socket->readAll();
  const qsizetype end = buffer.indexOf("\r\n\r\n");
  if (end < 0) {
    socket->setProperty("head", buffer);
    return;
  }
  socket->setProperty("head", QByteArray());
  FRequests.append(ParseHead(buffer.left(end)));
  const auto found = FAnswers.constFind(PathOf(FRequests.last().Target));
  THttpAnswer answer = found != FAnswers.cend() ? *found : THttpAnswer{404, "not here", {}, false, false, {}};
  if (!answer.ProxyAuthorization.isEmpty() &&
      FRequests.last().Headers.value("proxy-authorization") != answer.ProxyAuthorization) {
    answer = {407, "who are you", {{"Proxy-Authenticate", "Basic realm=\"test\""}}, false, false, {}};
  }

  QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.Status) + ' ' + ReasonFor(answer.Status) + "\r\n";
  for (const auto& [name, value] : answer.Headers) reply += name + ": " + value + "\r\n";
  const qsizetype announced = answer.Body.size() + (answer.Stall ? 4096 : 0);
  if (!answer.NoLength) reply += "Content-Length: " + QByteArray::number(announced) + "\r\n";
  reply += "Connection: close\r\n\r\n" + answer.Body;
  socket->write(reply);
  if (!answer.Stall) socket->disconnectFromHost();
}

quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

}  // namespace tarvola::test
