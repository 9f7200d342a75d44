#include "desktop/xdg_dirs.h"

#include <cstdlib>

namespace tarvola::desktop::xdg {

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(':', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Relative folders in these variables are invalid and skipped.
void AddAbsolute(std::vector<fs::path>& to, const std::string& dir) {
  if (!dir.empty() && dir.front() == '/') to.emplace_back(dir);
}

void AddHome(std::vector<fs::path>& to, const char* variable, const char* fallback) {
  std::string value = Env(variable);
  if (!value.empty() && value.front() == '/') {
    to.emplace_back(value);
    return;
  }
  std::string home = Env("HOME");
  if (!home.empty()) to.push_back(fs::path(home) / fallback);
}

void AddList(std::vector<fs::path>& to, const char* variable, const char* fallback) {
  std::string value = Env(variable);
  for (const std::string& dir : SplitList(value.empty() ? fallback : value)) AddAbsolute(to, dir);
}

}  // namespace

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

TXdgDirs XdgDirsFromEnvironment() {
  TXdgDirs dirs;
  AddHome(dirs.ConfigDirs, "XDG_CONFIG_HOME", ".config");
  AddList(dirs.ConfigDirs, "XDG_CONFIG_DIRS", "/etc/xdg");
  AddHome(dirs.DataDirs, "XDG_DATA_HOME", ".local/share");
  AddList(dirs.DataDirs, "XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  for (const std::string& name : SplitList(Env("XDG_CURRENT_DESKTOP")))
    dirs.CurrentDesktops.push_back(AsciiLower(name));
  return dirs;
}

}  // namespace tarvola::desktop::xdg
