#pragma once

#include "desktop/desktop.h"
#include "desktop/registry.h"
#include "desktop/win_system.h"

namespace tarvola::desktop {

// The associations of the Windows registry, over whichever registry, system and shell it is given.
class TWindowsDesktop : public TDesktop {
public:
  TWindowsDesktop(const TRegistryAccess& registry, TSystemCalls& system, TShell& shell)
      : FRegistry(registry), FSystem(system), FShell(shell) {}

  TAssociation ResolveAssociation(const std::string& extension) override;
  TLaunchCommand BuildLaunchCommand(const std::string& commandTemplate, const std::string& document) override;
  std::string ExeFromCommand(const std::string& command) override;
  bool FileExists(const std::string& path) override;
  bool ShellOpen(const TShellRequest& request) override;

private:
  const TRegistryAccess& FRegistry;
  TSystemCalls& FSystem;
  TShell& FShell;
};

}  // namespace tarvola::desktop
