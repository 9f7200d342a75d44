#include "desktop/win_association.h"

#include <algorithm>

namespace tarvola::desktop::win {

namespace {

constexpr auto npos = std::string::npos;

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool HasDirectoryPart(const std::string& path) { return path.find_first_of("\\:") != npos; }

std::string FileExtension(const std::string& path) {
  std::size_t dot = path.rfind('.');
  std::size_t delimiter = path.find_last_of("\\:");
  if (dot == npos || (delimiter != npos && dot < delimiter)) return {};
  return path.substr(dot);
}

std::string ReadDefault(TRegistry& reg, const std::string& key) {
  std::string value;
  if (reg.KeyExists(key) && reg.OpenKeyReadOnly(key)) {
    value = reg.ReadString("");
    reg.CloseKey();
  }
  return value;
}

// Removes a placeholder and its quotes once the document has taken the first one's place.
void RemoveFurtherPlaceholders(std::string& p) {
  for (std::size_t j; (j = p.find('|')) != npos;) {
    std::size_t quote = p.find('"', j);
    std::size_t space = p.find(' ', j);
    std::size_t end = quote != npos ? quote + 1 : (space != npos ? space : p.size());
    p.erase(j, end - j);
    if (j > 0 && p[j - 1] == '"') p.erase(j - 1, 1);
  }
}

std::string FillPlaceholder(std::string p, const std::string& document) {
  if (std::size_t k = p.find('|'); k == npos) {
    if (p.back() != ' ') p += ' ';
    p += '"';
    for (char c : document) {
      if (c == '"') p += '"';
      p += c;
    }
    p += '"';
  } else {
    std::size_t quote = p.find('"', k);
    std::size_t space = p.find(' ', k);
    std::size_t end = quote != npos ? quote : (space != npos ? space : p.size());
    p = p.substr(0, k) + document + p.substr(end);
  }
  RemoveFurtherPlaceholders(p);
  return Trim(p);
}

}  // namespace

std::string ExpandEnvText(TSystemCalls& system, const std::string& text) {
  auto expanded = system.ExpandEnvironment(text);
  return expanded ? Trim(*expanded) : text;
}

std::string FindInSystemFolders(TSystemCalls& system, const std::string& name) {
  for (std::string folder : {system.SystemFolder(), system.WindowsFolder()}) {
    if (folder.empty()) continue;
    if (folder.back() != '\\') folder += '\\';
    if (system.FileExists(folder + name)) return folder + name;
  }
  return {};
}

std::string ExeFromCommand(TSystemCalls& system, const std::string& command) {
  std::string s = Lower(Trim(command));
  std::size_t dot = s.find('.');
  if (dot == npos) return {};
  std::string candidate = s;
  if (std::size_t space = s.find(' ', dot + 1); space != npos) candidate = s.substr(0, space);
  else if (std::size_t quote = s.find('"', dot + 1); quote != npos) candidate = s.substr(0, quote + 1);
  std::erase(candidate, '"');
  if (candidate.empty()) return {};
  candidate = ExpandEnvText(system, candidate);
  if (HasDirectoryPart(candidate)) return candidate;
  std::string found = FindInSystemFolders(system, candidate);
  return found.empty() ? candidate : found;
}

TProgIdCommand ProgIdCommand(const TRegistryAccess& registry, const std::string& className) {
  auto reg = registry.Open(TRegRoot::ClassesRoot);
  const std::string key = "\\" + className;
  if (!reg->KeyExists(key)) return {};
  const std::string shell = key + "\\shell";
  if (!reg->KeyExists(shell) || !reg->OpenKeyReadOnly(shell)) return {true, {}};
  std::string verb = reg->ReadString("");
  reg->CloseKey();
  if (verb.empty()) {
    if (reg->KeyExists(shell + "\\open")) verb = "open";
    else if (reg->KeyExists(shell + "\\opennew")) verb = "opennew";
  }
  if (verb.empty()) return {true, {}};
  return {true, ReadDefault(*reg, shell + "\\" + verb + "\\command")};
}

TUserFileExts UserFileExtsLookup(const TRegistryAccess& registry, const std::string& extension) {
  TUserFileExts result;
  {
    auto reg = registry.Open(TRegRoot::CurrentUser);
    const std::string key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + extension;
    if (!reg->KeyExists(key)) return {};
    if (reg->OpenKeyReadOnly(key)) {
      result.UserProgId = reg->ReadString("ProgID");
      std::string application = reg->ReadString("Application");
      reg->CloseKey();
      if (!application.empty())
        result.ApplicationCommand = ProgIdCommand(registry, "Applications\\" + application).Command;
    }
  }
  if (!result.UserProgId.empty()) result.UserProgIdCommand = ProgIdCommand(registry, result.UserProgId).Command;
  result.Found = true;
  return result;
}

TClassesExt ClassesExtLookup(const TRegistryAccess& registry, const std::string& extension) {
  TClassesExt result;
  {
    auto reg = registry.Open(TRegRoot::ClassesRoot);
    if (!reg->KeyExists(extension)) return {};
    if (reg->OpenKeyReadOnly(extension)) {
      result.ClassProgId = reg->ReadString("");
      result.PerceivedType = reg->ReadString("PerceivedType");
      reg->CloseKey();
    }
  }
  if (!result.ClassProgId.empty()) result.ClassCommand = ProgIdCommand(registry, result.ClassProgId).Command;
  if (!result.PerceivedType.empty())
    result.PerceivedTypeCommand = ProgIdCommand(registry, "SystemFileAssociations\\" + result.PerceivedType).Command;
  result.Found = true;
  return result;
}

TAssociation ResolveAssociation(const TRegistryAccess& registry, const std::string& extension) {
  TUserFileExts user = UserFileExtsLookup(registry, extension);
  TClassesExt classes = ClassesExtLookup(registry, extension);
  TAssociation result{user.Found || classes.Found, {}};
  for (const std::string* command : {&user.ApplicationCommand, &user.UserProgIdCommand,
                                     &classes.ClassCommand, &classes.PerceivedTypeCommand}) {
    if (!command->empty()) {
      result.Command = *command;
      break;
    }
  }
  return result;
}

TLaunchCommand BuildLaunchCommand(TSystemCalls& system, const std::string& commandTemplate,
                                  const std::string& document) {
  TLaunchCommand result;
  std::string s = ExpandEnvText(system, commandTemplate);
  std::string& program = result.Program;
  std::string& parameters = result.Parameters;
  if (std::size_t exe = Lower(s).find(".exe"); exe != npos) {
    std::size_t e = exe + 4;  // the count of characters up to the last letter of ".exe"
    if (e == s.size()) {
      program = s;
    } else if (s[e] == '"' || s[e] == ' ') {
      program = s.substr(0, e);
      s = s.substr(e + 1);
      if (!program.empty() && program.front() == '"') program.erase(0, 1);
      parameters = s;
    }
    if (!program.empty() && !HasDirectoryPart(program)) program = Trim(FindInSystemFolders(system, program));
    parameters = Trim(parameters);
    std::replace(parameters.begin(), parameters.end(), '%', '|');
    result.Ok = true;
  }
  if (!parameters.empty()) parameters = FillPlaceholder(parameters, document);
  if (parameters.empty()) {
    if (!program.empty()) {
      parameters = document;
      result.Ok = true;
    } else if (Lower(FileExtension(document)) == ".exe") {
      program = document;
      result.Ok = true;
    }
  }
  return result;
}

}  // namespace tarvola::desktop::win
