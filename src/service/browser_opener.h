#pragma once

#include "service/link_opener.h"

namespace tarvola::service {

// The program's opener: the desktop's OpenInBrowser, which opens only http and https addresses.
TLinkOpener BrowserOpener();

}  // namespace tarvola::service
