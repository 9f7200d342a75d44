#pragma once

#include <string>

#include "desktop/desktop.h"
#include "desktop/registry.h"
#include "desktop/win_system.h"

// The file associations of the Windows registry and the commands they hold. Plain text
// logic over the registry and system interfaces, so it runs against any hive.
namespace tarvola::desktop::win {

std::string ExpandEnvText(TSystemCalls& system, const std::string& text);
std::string FindInSystemFolders(TSystemCalls& system, const std::string& name);
// The program a command line starts, lower-case; a bare name not in the system folders stays bare.
std::string ExeFromCommand(TSystemCalls& system, const std::string& command);

struct TProgIdCommand {
  bool Found = false;
  std::string Command;
};
// The open command of a class below HKEY_CLASSES_ROOT ("htmlfile", "Applications\\x.exe").
TProgIdCommand ProgIdCommand(const TRegistryAccess& registry, const std::string& className);

struct TUserFileExts {
  bool Found = false;
  std::string UserProgId;
  std::string ApplicationCommand;
  std::string UserProgIdCommand;
};
// The user's own choice for an extension (".htm") under HKEY_CURRENT_USER.
TUserFileExts UserFileExtsLookup(const TRegistryAccess& registry, const std::string& extension);

struct TClassesExt {
  bool Found = false;
  std::string ClassProgId;
  std::string PerceivedType;
  std::string ClassCommand;
  std::string PerceivedTypeCommand;
};
// The machine's class entry for an extension under HKEY_CLASSES_ROOT.
TClassesExt ClassesExtLookup(const TRegistryAccess& registry, const std::string& extension);

// The user's application, the user's ProgID, the class, then the perceived type.
TAssociation ResolveAssociation(const TRegistryAccess& registry, const std::string& extension);

// The program and the parameter text with the document filled into the template's placeholder.
TLaunchCommand BuildLaunchCommand(TSystemCalls& system, const std::string& commandTemplate,
                                  const std::string& document);

}  // namespace tarvola::desktop::win
