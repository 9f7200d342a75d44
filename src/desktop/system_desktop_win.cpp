// The desktop of Windows, for CreateSystemDesktop.
#include "desktop/desktop.h"
#include "desktop/windows_backend.h"
#include "desktop/windows_desktop.h"

namespace tarvola::desktop {

namespace {

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

}  // namespace

std::unique_ptr<TDesktop> CreateSystemDesktop() { return std::make_unique<TSystemDesktop>(); }

}  // namespace tarvola::desktop
