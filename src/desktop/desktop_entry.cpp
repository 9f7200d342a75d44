#include "desktop/desktop_entry.h"

#include <fstream>

namespace tarvola::desktop::xdg {

namespace {

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  std::size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The escapes of the file format's string values; others stay for the Exec quoting rules.
std::string UnescapeValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c != '\\' || i + 1 == value.size()) {
      out += c;
      continue;
    }
    char n = value[++i];
    switch (n) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default: out += '\\'; out += n; break;
    }
  }
  return out;
}

void SetKey(TDesktopEntry& entry, const std::string& key, const std::string& value) {
  if (key == "Type") entry.Type = value;
  else if (key == "Name") entry.Name = UnescapeValue(value);
  else if (key == "Icon") entry.Icon = UnescapeValue(value);
  else if (key == "Exec") entry.Exec = UnescapeValue(value);
  else if (key == "Hidden") entry.Hidden = value == "true";
}

bool IsFileCode(char c) { return c == 'f' || c == 'F' || c == 'u' || c == 'U'; }

// One argument with its inline codes replaced; `usedFile` notes a file code.
std::string ExpandInline(const std::string& arg, const TDesktopEntry& entry,
                         const std::string& document, bool& usedFile) {
  std::string out;
  for (std::size_t i = 0; i < arg.size(); ++i) {
    if (arg[i] != '%' || i + 1 == arg.size()) {
      out += arg[i];
      continue;
    }
    char code = arg[++i];
    if (IsFileCode(code)) {
      out += document;
      usedFile = true;
    } else if (code == '%') out += '%';
    else if (code == 'c') out += entry.Name;
    else if (code == 'k') out += entry.Path.string();
    else if (code == 'i') out += entry.Icon;
  }
  return out;
}

}  // namespace

std::optional<TDesktopEntry> ReadDesktopEntry(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  TDesktopEntry entry;
  entry.Path = path;
  bool inGroup = false, seenGroup = false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string t = Trim(line);
    if (t.empty() || t.front() == '#') continue;
    if (t.front() == '[') {
      inGroup = t == "[Desktop Entry]";
      seenGroup = seenGroup || inGroup;
      continue;
    }
    std::size_t eq = t.find('=');
    if (!inGroup || eq == std::string::npos) continue;
    SetKey(entry, Trim(t.substr(0, eq)), Trim(t.substr(eq + 1)));
  }
  if (!seenGroup) return std::nullopt;
  return entry;
}

bool IsLaunchable(const TDesktopEntry& entry) {
  return entry.Type == "Application" && !entry.Hidden && !entry.Exec.empty();
}

std::optional<std::vector<std::string>> SplitExec(std::string_view exec) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, quoted = false;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    char c = exec[i];
    if (quoted) {
      if (c == '"') quoted = false;
      else if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos)
        arg += exec[++i];
      else arg += c;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inArg) args.push_back(std::move(arg));
      arg.clear();
      inArg = false;
    } else if (c == '"') {
      quoted = inArg = true;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inArg) args.push_back(std::move(arg));
  if (args.empty()) return std::nullopt;
  return args;
}

std::vector<std::string> ExpandFieldCodes(const std::vector<std::string>& arguments,
                                          const TDesktopEntry& entry, const std::string& document) {
  std::vector<std::string> out;
  bool usedFile = false;
  for (const std::string& arg : arguments) {
    if (arg.size() == 2 && arg[0] == '%' && IsFileCode(arg[1])) {
      usedFile = true;
      if (!document.empty()) out.push_back(document);
    } else if (arg == "%i") {
      if (!entry.Icon.empty()) {
        out.push_back("--icon");
        out.push_back(entry.Icon);
      }
    } else {
      std::string expanded = ExpandInline(arg, entry, document, usedFile);
      // An argument that was nothing but removed codes goes away with them.
      if (!expanded.empty() || arg.find('%') == std::string::npos) out.push_back(std::move(expanded));
    }
  }
  if (!usedFile && !document.empty()) out.push_back(document);
  return out;
}

}  // namespace tarvola::desktop::xdg
