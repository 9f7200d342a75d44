#include "desktop/url_opener.h"

#include "desktop/desktop.h"
#include "desktop/safe_url.h"

namespace tarvola::desktop {

bool OpenInBrowser(TDesktop& desktop, const std::string& address) {
  auto safe = SafeWebAddress(address);
  if (!safe) return false;
  TAssociation html = desktop.ResolveAssociation(".htm");
  if (!html.Found || html.Command.empty()) return false;
  TLaunchCommand launch = desktop.BuildLaunchCommand(html.Command, *safe);
  return desktop.ShellOpen({0, launch.Program, launch.Parameters, ShowNormal});
}

bool OpenInBrowser(const std::string& address) { return OpenInBrowser(*CreateSystemDesktop(), address); }

}  // namespace tarvola::desktop
