#include "service/browser_opener.h"

#include "desktop/url_opener.h"

namespace tarvola::service {

TLinkOpener BrowserOpener() {
  return [](const QString& address) { return desktop::OpenInBrowser(address.toStdString()); };
}

}  // namespace tarvola::service
