#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvola::desktop::xdg {

// The keys of a desktop entry's [Desktop Entry] group that launching needs.
struct TDesktopEntry {
  std::filesystem::path Path;
  std::string Type;
  std::string Name;
  std::string Icon;
  std::string Exec;
  bool Hidden = false;
};

// nullopt when the file cannot be read or has no [Desktop Entry] group.
std::optional<TDesktopEntry> ReadDesktopEntry(const std::filesystem::path& path);

// An application entry that has not been deleted (Hidden) and has something to run.
bool IsLaunchable(const TDesktopEntry& entry);

// The Exec value split into program and arguments by its quoting rules (after the string
// escapes of the file format). nullopt for an unterminated quote or an empty line.
std::optional<std::vector<std::string>> SplitExec(std::string_view exec);

// The arguments with their field codes replaced: %f %F %u %U by the document (dropped when
// there is none), %i by --icon and the icon, %c by the name, %k by the entry's path, %% by %;
// other codes removed. A document given to a line without a file code is appended, the way
// the program treats a command without a placeholder.
std::vector<std::string> ExpandFieldCodes(const std::vector<std::string>& arguments,
                                          const TDesktopEntry& entry, const std::string& document);

}  // namespace tarvola::desktop::xdg
