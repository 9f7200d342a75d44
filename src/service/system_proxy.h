#pragma once

#include <QString>

namespace tarvola::service {

struct TProxyAddress {
  QString Address;
  QString Port;
  QString User;  // the credentials a proxy address may carry; none when User is empty
  QString Password;
};

// The proxy the system settings name for a protocol ("http"); both empty when there is none.
// Windows: the user's Internet Settings, honouring their "ProxyEnable" switch.
// Elsewhere: the <protocol>_proxy environment value (lower case first, then upper case).
TProxyAddress ReadSystemProxy(const QString& protocol);

// Windows' "ProxyServer" value, e.g. "http=proxy:8080;https=proxy:8443". A single
// "host:port" for every protocol names no entry for the protocol and gives nothing.
TProxyAddress ParseProxyServer(const QString& value, const QString& protocol);

// The Internet Settings' decision: their "ProxyEnable" switch (1 = on) and "ProxyServer" value.
TProxyAddress ProxyFromInternetSettings(int proxyEnable, const QString& proxyServer, const QString& protocol);

// A proxy environment value: "host:port" or "http://[user[:password]@]host[:port][/]", the
// credentials percent-decoded.
TProxyAddress ParseProxyUrl(const QString& value);

}  // namespace tarvola::service
