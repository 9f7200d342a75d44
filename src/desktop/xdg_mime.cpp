#include "desktop/xdg_mime.h"

#include <fnmatch.h>

#include <fstream>
#include <optional>
#include <set>
#include <vector>

namespace tarvola::desktop::xdg {

namespace fs = std::filesystem;

namespace {

struct TGlob {
  int Weight = 50;
  std::string Type;
  std::string Pattern;
  bool CaseSensitive = false;
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = line.find(':', start);
    fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

std::optional<TGlob> ParseGlob2(const std::string& line) {
  std::vector<std::string> f = Fields(line);
  if (f.size() < 3 || f[1].empty() || f[2].empty()) return std::nullopt;
  TGlob glob;
  try {
    glob.Weight = std::stoi(f[0]);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  glob.Type = f[1];
  glob.Pattern = f[2];
  glob.CaseSensitive = f.size() > 3 && f[3].find("cs") != std::string::npos;
  return glob;
}

std::optional<TGlob> ParseGlob1(const std::string& line) {
  std::size_t colon = line.find(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= line.size()) return std::nullopt;
  TGlob glob;
  glob.Type = line.substr(0, colon);
  glob.Pattern = line.substr(colon + 1);
  return glob;
}

// The globs of one database folder; empty when it has neither file.
std::vector<TGlob> ReadGlobs(const fs::path& mimeDir) {
  bool v2 = true;
  std::ifstream in(mimeDir / "globs2");
  if (!in) {
    in.open(mimeDir / "globs");
    v2 = false;
  }
  std::vector<TGlob> globs;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    auto glob = v2 ? ParseGlob2(line) : ParseGlob1(line);
    if (glob) globs.push_back(std::move(*glob));
  }
  return globs;
}

bool Matches(const TGlob& glob, const std::string& name) {
  if (glob.CaseSensitive) return fnmatch(glob.Pattern.c_str(), name.c_str(), 0) == 0;
  return fnmatch(AsciiLower(glob.Pattern).c_str(), AsciiLower(name).c_str(), 0) == 0;
}

struct TBest {
  int Weight = -1;
  std::size_t Length = 0;
  std::string Type;
};

std::string BuiltInType(const std::string& extension) {
  static const std::pair<const char*, const char*> table[] = {
      {".htm", "text/html"},
      {".html", "text/html"},
      {".kmz", "application/vnd.google-earth.kmz"},
  };
  for (const auto& [ext, type] : table)
    if (extension == ext) return type;
  return {};
}

}  // namespace

std::string MimeTypeForExtension(const TXdgDirs& dirs, std::string_view extension) {
  const std::string name = "file" + std::string(extension);
  TBest best;
  // __NOGLOBS__ in a more important folder hides a type's globs in the folders after it.
  std::set<std::string> hidden;
  for (const fs::path& dataDir : dirs.DataDirs) {
    std::vector<TGlob> globs = ReadGlobs(dataDir / "mime");
    for (const TGlob& glob : globs) {
      if (glob.Pattern == "__NOGLOBS__" || hidden.count(glob.Type) || !Matches(glob, name)) continue;
      // Equal weight and length: the earlier, more important folder keeps its choice.
      if (glob.Weight > best.Weight || (glob.Weight == best.Weight && glob.Pattern.size() > best.Length))
        best = {glob.Weight, glob.Pattern.size(), glob.Type};
    }
    for (const TGlob& glob : globs)
      if (glob.Pattern == "__NOGLOBS__") hidden.insert(glob.Type);
  }
  if (!best.Type.empty()) return best.Type;
  return BuiltInType(AsciiLower(std::string(extension)));
}

}  // namespace tarvola::desktop::xdg
