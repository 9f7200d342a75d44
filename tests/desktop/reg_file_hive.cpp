#include "reg_file_hive.h"

#include <fstream>
#include <optional>
#include <vector>

#include "gps/text_decode.h"

namespace tarvola::desktop {

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string TrimBlanks(std::string_view s) {
  std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(" \t\r") - b + 1));
}

std::string DecodeText(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return gps::Utf16ToUtf8(bytes.substr(2), false);
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return std::string(bytes);
}

// Lines with the continuations of long hex values joined.
std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = TrimBlanks(std::string_view(text).substr(start, end - start));
    start = end + 1;
    current += line;
    bool continues = !current.empty() && current.back() == '\\' && current.find("=hex") != std::string::npos;
    if (continues) current.pop_back();
    if (!continues) {
      lines.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

std::optional<TRegRoot> RootOf(const std::string& name) {
  std::string n = Lower(name);
  if (n == "hkey_current_user" || n == "hkcu") return TRegRoot::CurrentUser;
  if (n == "hkey_classes_root" || n == "hkcr") return TRegRoot::ClassesRoot;
  return std::nullopt;
}

// A quoted text starting at s[i] (the opening quote); i ends after the closing quote.
std::optional<std::string> ReadQuoted(const std::string& s, std::size_t& i) {
  std::string out;
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      ++i;
      return out;
    }
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) c = s[++i];
    out += c;
  }
  return std::nullopt;
}

std::string HexBytes(std::string_view list) {
  std::string bytes;
  std::size_t i = 0;
  while (i < list.size()) {
    std::size_t comma = list.find(',', i);
    std::string item = TrimBlanks(list.substr(i, comma == std::string_view::npos ? std::string_view::npos : comma - i));
    if (!item.empty()) bytes += static_cast<char>(std::stoi(item, nullptr, 16));
    if (comma == std::string_view::npos) break;
    i = comma + 1;
  }
  return bytes;
}

std::string UntilNul(std::string text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

// The data after "=": nullopt for "-" (delete the value).
std::optional<TRegFileHive::TValue> ParseData(const std::string& data) {
  using TKind = TRegFileHive::TKind;
  if (data == "-") return std::nullopt;
  if (!data.empty() && data.front() == '"') {
    std::size_t i = 0;
    auto text = ReadQuoted(data, i);
    if (!text) throw std::runtime_error("unterminated text in registry file: " + data);
    return TRegFileHive::TValue{TKind::String, *text};
  }
  std::string lower = Lower(data);
  if (lower.starts_with("hex(2):"))
    return TRegFileHive::TValue{TKind::ExpandString, UntilNul(gps::Utf16ToUtf8(HexBytes(data.substr(7)), false))};
  if (lower.starts_with("hex(1):"))
    return TRegFileHive::TValue{TKind::String, UntilNul(gps::Utf16ToUtf8(HexBytes(data.substr(7)), false))};
  return TRegFileHive::TValue{TKind::Other, {}};
}

class THiveRegistry : public TRegistry {
public:
  THiveRegistry(const TRegFileHive& hive, TRegRoot root) : FHive(hive), FRoot(root) {}
  bool KeyExists(const std::string& key) override { return FHive.Find(FRoot, key) != nullptr; }
  bool OpenKeyReadOnly(const std::string& key) override {
    FOpen = FHive.Find(FRoot, key);
    return FOpen != nullptr;
  }
  std::string ReadString(const std::string& name) override {
    if (!FOpen) return {};
    auto value = FOpen->find(Lower(name));
    if (value == FOpen->end()) return {};
    if (value->second.Kind == TRegFileHive::TKind::Other)
      throw ERegistryException("Invalid data type for '" + name + "'");
    return value->second.Text;
  }
  void CloseKey() override { FOpen = nullptr; }

private:
  const TRegFileHive& FHive;
  TRegRoot FRoot;
  const TRegFileHive::TKey* FOpen = nullptr;
};

std::string KeyPath(std::string path) {
  while (!path.empty() && path.front() == '\\') path.erase(0, 1);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return Lower(path);
}

}  // namespace

TRegFileHive TRegFileHive::FromText(std::string_view bytes) {
  std::vector<std::string> lines = LogicalLines(DecodeText(bytes));
  std::size_t first = 0;
  while (first < lines.size() && lines[first].empty()) ++first;
  if (first == lines.size() ||
      (lines[first] != "Windows Registry Editor Version 5.00" && lines[first] != "REGEDIT4"))
    throw std::runtime_error("not a registry export file");
  TRegFileHive hive;
  TKey* key = nullptr;
  for (std::size_t n = first + 1; n < lines.size(); ++n) {
    const std::string& line = lines[n];
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string path = line.substr(1, line.size() - 2);
      bool remove = !path.empty() && path.front() == '-';
      if (remove) path.erase(0, 1);
      std::size_t slash = path.find('\\');
      auto root = RootOf(path.substr(0, slash));
      std::string rest = slash == std::string::npos ? std::string() : KeyPath(path.substr(slash + 1));
      key = nullptr;
      if (!root || rest.empty()) continue;
      if (remove) {
        std::erase_if(hive.FKeys, [&](const auto& k) {
          return k.first.first == *root && (k.first.second == rest || k.first.second.starts_with(rest + "\\"));
        });
        continue;
      }
      for (std::size_t p = rest.find('\\'); p != std::string::npos; p = rest.find('\\', p + 1))
        hive.FKeys[{*root, rest.substr(0, p)}];
      key = &hive.FKeys[{*root, rest}];
      continue;
    }
    std::size_t i = 0;
    std::string name;
    if (line.front() == '@') {
      i = 1;
    } else if (line.front() == '"') {
      auto quoted = ReadQuoted(line, i);
      if (!quoted) throw std::runtime_error("unterminated value name in registry file: " + line);
      name = *quoted;
    } else {
      throw std::runtime_error("unreadable line in registry file: " + line);
    }
    std::size_t eq = line.find_first_not_of(" \t", i);
    if (eq == std::string::npos || line[eq] != '=') throw std::runtime_error("value without data: " + line);
    if (!key) continue;
    auto value = ParseData(TrimBlanks(std::string_view(line).substr(eq + 1)));
    if (value) (*key)[Lower(name)] = std::move(*value);
    else key->erase(Lower(name));
  }
  return hive;
}

TRegFileHive TRegFileHive::FromFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return FromText(bytes);
}

const TRegFileHive::TKey* TRegFileHive::Find(TRegRoot root, const std::string& path) const {
  auto key = FKeys.find({root, KeyPath(path)});
  return key == FKeys.end() ? nullptr : &key->second;
}

std::unique_ptr<TRegistry> TRegFileHive::Open(TRegRoot root) const {
  return std::make_unique<THiveRegistry>(*this, root);
}

}  // namespace tarvola::desktop
