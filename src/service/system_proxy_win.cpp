#include "service/system_proxy.h"

#include "desktop/win_settings.h"

namespace tarvola::service {

TProxyAddress ReadSystemProxy(const QString& protocol) {
  const desktop::win::TInternetSettings settings = desktop::win::ReadInternetSettings();
  return ProxyFromInternetSettings(settings.ProxyEnable, QString::fromStdString(settings.ProxyServer), protocol);
}

}  // namespace tarvola::service
