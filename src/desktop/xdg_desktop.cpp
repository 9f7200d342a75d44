#include "desktop/xdg_desktop.h"

#include <filesystem>

#include "desktop/command_line.h"
#include "desktop/desktop_entry.h"
#include "desktop/detached_spawn.h"
#include "desktop/xdg_apps.h"
#include "desktop/xdg_mime.h"

namespace tarvola::desktop {

namespace {

struct TEntryCommand {
  xdg::TDesktopEntry Entry;
  std::vector<std::string> Arguments;  // the program first
};

std::optional<TEntryCommand> LoadCommand(const std::string& entryPath) {
  if (entryPath.empty()) return std::nullopt;
  auto entry = xdg::ReadDesktopEntry(entryPath);
  if (!entry || !xdg::IsLaunchable(*entry)) return std::nullopt;
  auto args = xdg::SplitExec(entry->Exec);
  if (!args) return std::nullopt;
  return TEntryCommand{std::move(*entry), std::move(*args)};
}

}  // namespace

TAssociation TXdgDesktop::ResolveAssociation(const std::string& extension) {
  xdg::TXdgDirs dirs = xdg::XdgDirsFromEnvironment();
  xdg::TAppChoice choice = xdg::DefaultApplication(dirs, xdg::MimeTypeForExtension(dirs, extension));
  return {choice.Found, choice.Entry.string()};
}

TLaunchCommand TXdgDesktop::BuildLaunchCommand(const std::string& commandTemplate,
                                               const std::string& document) {
  auto command = LoadCommand(commandTemplate);
  if (!command) return {};
  const std::string& program = command->Arguments.front();
  std::string found = FindProgram(program);
  std::vector<std::string> rest(command->Arguments.begin() + 1, command->Arguments.end());
  return {true, found.empty() ? program : found,
          JoinWindowsParameters(xdg::ExpandFieldCodes(rest, command->Entry, document))};
}

std::string TXdgDesktop::ExeFromCommand(const std::string& command) {
  auto loaded = LoadCommand(command);
  return loaded ? FindProgram(loaded->Arguments.front()) : std::string();
}

bool TXdgDesktop::FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool TXdgDesktop::ShellOpen(const TShellRequest& request) { return FShell.Execute(request); }

}  // namespace tarvola::desktop
