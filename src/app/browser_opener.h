#pragma once

#include "service/link_opener.h"

namespace tarvola::app {

// The program's opener: the desktop's OpenInBrowser, which opens only http and https addresses.
service::TLinkOpener BrowserOpener();

}  // namespace tarvola::app
