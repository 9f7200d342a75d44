// The one place that picks the desktop of the platform.
#include "desktop/desktop.h"

#ifdef _WIN32
#include "desktop/windows_backend.h"
#include "desktop/windows_desktop.h"
#else
#include "desktop/detached_spawn.h"
#include "desktop/xdg_desktop.h"
#endif

namespace tarvola::desktop {

namespace {

#ifdef _WIN32
// Members are built before the base that keeps references to them.
struct TWinParts {
  TWinRegistryAccess FWinRegistry;
  TWinSystemCalls FWinSystem;
  TWinShell FWinShell;
};
class TSystemDesktop : private TWinParts, public TWindowsDesktop {
public:
  TSystemDesktop() : TWindowsDesktop(FWinRegistry, FWinSystem, FWinShell) {}
};
#else
struct TSpawnShellHolder {
  TSpawnShell FSpawnShell;
};
class TSystemDesktop : private TSpawnShellHolder, public TXdgDesktop {
public:
  TSystemDesktop() : TXdgDesktop(FSpawnShell) {}
};
#endif

}  // namespace

std::unique_ptr<TDesktop> CreateSystemDesktop() { return std::make_unique<TSystemDesktop>(); }

}  // namespace tarvola::desktop
