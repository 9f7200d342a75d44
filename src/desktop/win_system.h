#pragma once

#include <optional>
#include <string>

namespace tarvola::desktop {

// The few system calls the association resolver needs besides the registry.
class TSystemCalls {
public:
  virtual ~TSystemCalls() = default;
  // Environment references (%NAME%) expanded in full; nullopt when the expansion fails.
  virtual std::optional<std::string> ExpandEnvironment(const std::string& text) = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string WindowsFolder() = 0;
  // A file, not a folder.
  virtual bool FileExists(const std::string& path) = 0;
};

}  // namespace tarvola::desktop
