#include "service/system_proxy.h"

#include <QSettings>

namespace tarvola::service {

TProxyAddress ReadSystemProxy(const QString& protocol) {
  const QSettings settings(
      QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"),
      QSettings::NativeFormat);
  return ProxyFromInternetSettings(settings.value(QStringLiteral("ProxyEnable"), 0).toInt(),
                                   settings.value(QStringLiteral("ProxyServer")).toString(), protocol);
}

}  // namespace tarvola::service
