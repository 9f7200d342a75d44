#include "desktop/xdg_apps.h"

#include <fstream>
#include <map>
#include <set>
#include <vector>

#include "desktop/desktop_entry.h"

namespace tarvola::desktop::xdg {

namespace fs = std::filesystem;

namespace {

using TIdList = std::vector<std::string>;
// group name -> MIME type -> desktop ids
using TGroups = std::map<std::string, std::map<std::string, TIdList>>;

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

TIdList SplitIds(const std::string& value) {
  TIdList ids;
  std::size_t start = 0;
  while (start < value.size()) {
    std::size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    std::string id = Trim(value.substr(start, end - start));
    if (!id.empty()) ids.push_back(id);
    start = end + 1;
  }
  return ids;
}

TGroups ReadGroups(const fs::path& file) {
  TGroups groups;
  std::ifstream in(file);
  std::string line, group;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string t = Trim(line);
    if (t.empty() || t.front() == '#') continue;
    if (t.front() == '[' && t.back() == ']') {
      group = t.substr(1, t.size() - 2);
      continue;
    }
    std::size_t eq = t.find('=');
    if (eq != std::string::npos) groups[group][Trim(t.substr(0, eq))] = SplitIds(t.substr(eq + 1));
  }
  return groups;
}

struct TListFile {
  TGroups Groups;
  bool DesktopSpecific = false;
};

// Every mimeapps.list in the order of precedence.
std::vector<TListFile> ListFiles(const TXdgDirs& dirs) {
  std::vector<fs::path> folders = dirs.ConfigDirs;
  for (const fs::path& d : dirs.DataDirs) folders.push_back(d / "applications");
  std::vector<TListFile> files;
  for (const fs::path& folder : folders) {
    for (const std::string& desktop : dirs.CurrentDesktops)
      files.push_back({ReadGroups(folder / (desktop + "-mimeapps.list")), true});
    files.push_back({ReadGroups(folder / "mimeapps.list"), false});
  }
  return files;
}

const TIdList& IdsOf(const TListFile& file, const char* group, const std::string& type) {
  static const TIdList none;
  // Added and removed associations count only in the files named plainly mimeapps.list.
  if (file.DesktopSpecific && std::string(group) != "Default Applications") return none;
  auto g = file.Groups.find(group);
  if (g == file.Groups.end()) return none;
  auto t = g->second.find(type);
  return t == g->second.end() ? none : t->second;
}

class TChooser {
public:
  explicit TChooser(const TXdgDirs& dirs) : FDirs(dirs) {}

  // True once an installed candidate has been chosen.
  bool Offer(const std::string& id, const std::set<std::string>& removed) {
    if (removed.count(id)) return false;
    FChoice.Found = true;
    auto path = FindDesktopFile(FDirs, id);
    if (!path) return false;
    auto entry = ReadDesktopEntry(*path);
    if (!entry || !IsLaunchable(*entry)) return false;
    FChoice.Entry = *path;
    return true;
  }
  const TAppChoice& Choice() const { return FChoice; }

private:
  const TXdgDirs& FDirs;
  TAppChoice FChoice;
};

bool OfferGroup(TChooser& chooser, const std::vector<TListFile>& files, const char* group,
                const std::string& type, std::set<std::string>& removed) {
  for (const TListFile& file : files) {
    for (const std::string& id : IdsOf(file, "Removed Associations", type)) removed.insert(id);
    for (const std::string& id : IdsOf(file, group, type))
      if (chooser.Offer(id, removed)) return true;
  }
  return false;
}

}  // namespace

std::optional<fs::path> FindDesktopFile(const TXdgDirs& dirs, const std::string& id) {
  // Tries "a-b-c.desktop" as a-b-c.desktop, a/b-c.desktop, a/b/c.desktop and so on.
  auto find = [](auto& self, const fs::path& dir, const std::string& rest) -> std::optional<fs::path> {
    std::error_code ec;
    if (fs::is_regular_file(dir / rest, ec)) return dir / rest;
    for (std::size_t dash = rest.find('-'); dash != std::string::npos; dash = rest.find('-', dash + 1)) {
      fs::path sub = dir / rest.substr(0, dash);
      if (fs::is_directory(sub, ec))
        if (auto found = self(self, sub, rest.substr(dash + 1))) return found;
    }
    return std::nullopt;
  };
  if (id.empty() || id.find('/') != std::string::npos) return std::nullopt;
  for (const fs::path& d : dirs.DataDirs)
    if (auto found = find(find, d / "applications", id)) return found;
  return std::nullopt;
}

TAppChoice DefaultApplication(const TXdgDirs& dirs, const std::string& mimeType) {
  TChooser chooser(dirs);
  if (mimeType.empty()) return {};
  std::vector<TListFile> files = ListFiles(dirs);
  std::set<std::string> removed;
  if (OfferGroup(chooser, files, "Default Applications", mimeType, removed)) return chooser.Choice();
  removed.clear();
  if (OfferGroup(chooser, files, "Added Associations", mimeType, removed)) return chooser.Choice();
  for (const fs::path& d : dirs.DataDirs) {
    TListFile cache{ReadGroups(d / "applications" / "mimeinfo.cache"), false};
    for (const std::string& id : IdsOf(cache, "MIME Cache", mimeType))
      if (chooser.Offer(id, removed)) return chooser.Choice();
  }
  return chooser.Choice();
}

}  // namespace tarvola::desktop::xdg
