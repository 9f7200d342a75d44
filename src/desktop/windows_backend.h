#pragma once

#include "desktop/desktop.h"
#include "desktop/registry.h"
#include "desktop/win_system.h"

namespace tarvola::desktop {

// The machine's registry, read with KEY_READ access.
class TWinRegistryAccess : public TRegistryAccess {
public:
  std::unique_ptr<TRegistry> Open(TRegRoot root) const override;
};

class TWinSystemCalls : public TSystemCalls {
public:
  std::optional<std::string> ExpandEnvironment(const std::string& text) override;
  std::string SystemFolder() override;
  std::string WindowsFolder() override;
  bool FileExists(const std::string& path) override;
};

// ShellExecuteW with the verb "open".
class TWinShell : public TShell {
public:
  bool Execute(const TShellRequest& request) override;
};

}  // namespace tarvola::desktop
