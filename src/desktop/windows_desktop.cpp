#include "desktop/windows_desktop.h"

#include "desktop/win_association.h"

namespace tarvola::desktop {

TAssociation TWindowsDesktop::ResolveAssociation(const std::string& extension) {
  return win::ResolveAssociation(FRegistry, extension);
}

TLaunchCommand TWindowsDesktop::BuildLaunchCommand(const std::string& commandTemplate,
                                                   const std::string& document) {
  return win::BuildLaunchCommand(FSystem, commandTemplate, document);
}

std::string TWindowsDesktop::ExeFromCommand(const std::string& command) {
  return win::ExeFromCommand(FSystem, command);
}

bool TWindowsDesktop::FileExists(const std::string& path) { return !path.empty() && FSystem.FileExists(path); }

bool TWindowsDesktop::ShellOpen(const TShellRequest& request) { return FShell.Execute(request); }

}  // namespace tarvola::desktop
