#pragma once

#include <string>
#include <vector>

#include "desktop/desktop.h"

namespace tarvola::desktop {

// The program found the way execvp would: a name holding a slash as it is, otherwise the
// first executable file of that name in PATH. Empty when there is none.
std::string FindProgram(const std::string& program);

// Starts the program with these arguments as a process of its own session that is not our
// child (no shell, nothing left to reap). True only when the program image was really
// started.
bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments);

// The shell of a POSIX desktop: the parameter text is split by the Windows rules, the same
// rules the launch command was quoted with.
class TSpawnShell : public TShell {
public:
  bool Execute(const TShellRequest& request) override;
};

}  // namespace tarvola::desktop
