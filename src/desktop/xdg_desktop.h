#pragma once

#include "desktop/desktop.h"

namespace tarvola::desktop {

// File associations of a freedesktop.org desktop. The command of an association is the path
// of the desktop entry chosen for the extension's MIME type; the XDG folders are read from the
// environment at every call, so the program follows changes the user makes meanwhile.
class TXdgDesktop : public TDesktop {
public:
  explicit TXdgDesktop(TShell& shell) : FShell(shell) {}

  TAssociation ResolveAssociation(const std::string& extension) override;
  TLaunchCommand BuildLaunchCommand(const std::string& commandTemplate, const std::string& document) override;
  std::string ExeFromCommand(const std::string& command) override;
  bool FileExists(const std::string& path) override;
  bool ShellOpen(const TShellRequest& request) override;

private:
  TShell& FShell;
};

}  // namespace tarvola::desktop
