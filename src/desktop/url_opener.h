#pragma once

#include <string>

namespace tarvola::desktop {

// Opens a web address in the program registered for ".htm" files. Only http and https
// addresses are opened; they are percent-encoded before they reach the command template.
// True when the program was really started.
bool OpenInBrowser(const std::string& address);

class TDesktop;
// The same on a given desktop.
bool OpenInBrowser(TDesktop& desktop, const std::string& address);

}  // namespace tarvola::desktop
