// The freedesktop.org desktop, for CreateSystemDesktop.
#include "desktop/desktop.h"
#include "desktop/detached_spawn.h"
#include "desktop/xdg_desktop.h"

namespace tarvola::desktop {

namespace {

// Members are built before the base that keeps references to them.
struct TSpawnShellHolder {
  TSpawnShell FSpawnShell;
};
class TSystemDesktop : private TSpawnShellHolder, public TXdgDesktop {
public:
  TSystemDesktop() : TXdgDesktop(FSpawnShell) {}
};

}  // namespace

std::unique_ptr<TDesktop> CreateSystemDesktop() { return std::make_unique<TSystemDesktop>(); }

}  // namespace tarvola::desktop
