#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tarvola::desktop {

// Show modes the shell understands (the Windows numbers).
inline constexpr int ShowNormal = 5;   // SW_SHOW
inline constexpr int ShowDefault = 10; // SW_SHOWDEFAULT

struct TAssociation {
  bool Found = false;
  // Windows: the command line of the registry. XDG: the path of the chosen desktop entry.
  // Empty when the type is known but nothing usable is registered for it.
  std::string Command;
};

struct TLaunchCommand {
  bool Ok = false;
  std::string Program;
  // One text of arguments, quoted by the Windows command-line rules.
  std::string Parameters;
};

struct TShellRequest {
  std::uintptr_t OwnerWindow = 0;  // native window handle, 0 for none
  std::string Program;
  std::string Parameters;
  int ShowMode = ShowNormal;
};

// Starts programs the way the shell's "open" verb does.
class TShell {
public:
  virtual ~TShell() = default;
  // True when the program was really started.
  virtual bool Execute(const TShellRequest& request) = 0;
};

// The machine's file-type associations and its shell, whichever desktop provides them.
class TDesktop {
public:
  virtual ~TDesktop() = default;
  virtual TAssociation ResolveAssociation(const std::string& extension) = 0;
  virtual TLaunchCommand BuildLaunchCommand(const std::string& commandTemplate,
                                            const std::string& document) = 0;
  // The program a command starts, or empty.
  virtual std::string ExeFromCommand(const std::string& command) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool ShellOpen(const TShellRequest& request) = 0;
};

// The desktop of the machine the program runs on: the registry on Windows, XDG elsewhere.
std::unique_ptr<TDesktop> CreateSystemDesktop();

}  // namespace tarvola::desktop
