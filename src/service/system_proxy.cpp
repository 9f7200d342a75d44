#include "service/system_proxy.h"

#include <QUrl>

namespace tarvola::service {

TProxyAddress ParseProxyServer(const QString& value, const QString& protocol) {
  const QString text = value.toLower();
  const QString marker = protocol.toLower() + u'=';
  const qsizetype at = text.indexOf(marker);
  if (text.isEmpty() || at < 0) return {};
  const QString rest = text.mid(at + marker.size());
  const qsizetype colon = rest.indexOf(u':');
  TProxyAddress proxy;
  if (colon >= 0) proxy.Address = rest.left(colon);
  const QString portPart = colon >= 0 ? rest.mid(colon + 1) : rest;
  proxy.Port = portPart.left(portPart.indexOf(u';'));  // left(-1): the whole rest
  return proxy;
}

TProxyAddress ProxyFromInternetSettings(int proxyEnable, const QString& proxyServer, const QString& protocol) {
  // A proxy that is configured but switched off is not used.
  if (proxyEnable != 1) return {};
  return ParseProxyServer(proxyServer, protocol);
}

TProxyAddress ParseProxyUrl(const QString& value) {
  const QString text = value.trimmed();
  if (text.isEmpty()) return {};
  const QUrl url(text.contains(u"://") ? text : QStringLiteral("http://") + text);
  if (!url.isValid() || url.host().isEmpty()) return {};
  const int defaultPort = url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 ? 443 : 80;
  return {url.host(), QString::number(url.port(defaultPort)), url.userName(QUrl::FullyDecoded),
          url.password(QUrl::FullyDecoded)};
}

}  // namespace tarvola::service
