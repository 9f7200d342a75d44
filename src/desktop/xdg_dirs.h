#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tarvola::desktop::xdg {

// The base folders of the desktop, most important first, as the environment gives them now.
struct TXdgDirs {
  std::vector<std::filesystem::path> ConfigDirs;  // XDG_CONFIG_HOME, then XDG_CONFIG_DIRS
  std::vector<std::filesystem::path> DataDirs;    // XDG_DATA_HOME, then XDG_DATA_DIRS
  std::vector<std::string> CurrentDesktops;       // XDG_CURRENT_DESKTOP, lower-case
};

TXdgDirs XdgDirsFromEnvironment();

std::string AsciiLower(std::string text);

}  // namespace tarvola::desktop::xdg
