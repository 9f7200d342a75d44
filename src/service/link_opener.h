#pragma once

#include <functional>

#include <QString>

namespace tarvola::service {

// Opens a web address for the user; true when a browser was started. The program binds it
// to the desktop opener (browser_opener.h), tests record the addresses.
using TLinkOpener = std::function<bool(const QString&)>;

}  // namespace tarvola::service
