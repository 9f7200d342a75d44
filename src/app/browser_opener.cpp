#include "app/browser_opener.h"

#include "desktop/url_opener.h"

namespace tarvola::app {

service::TLinkOpener BrowserOpener() {
  return [](const QString& address) { return desktop::OpenInBrowser(address.toStdString()); };
}

}  // namespace tarvola::app
