#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace tarvola::desktop {

enum class TRegRoot { CurrentUser, ClassesRoot };

// A value that exists but holds neither a string nor an expandable string.
class ERegistryException : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Read-only access to one root, with at most one key open at a time. Key paths are taken
// from the root, with or without a leading backslash; names compare without letter case.
class TRegistry {
public:
  virtual ~TRegistry() = default;
  virtual bool KeyExists(const std::string& key) = 0;
  virtual bool OpenKeyReadOnly(const std::string& key) = 0;
  // A value of the open key as text; "" names the default value; a missing value is "".
  // Expandable strings come as stored. Throws ERegistryException for other types.
  virtual std::string ReadString(const std::string& name) = 0;
  virtual void CloseKey() = 0;
};

// Makes a registry object for each lookup.
class TRegistryAccess {
public:
  virtual ~TRegistryAccess() = default;
  virtual std::unique_ptr<TRegistry> Open(TRegRoot root) const = 0;
};

}  // namespace tarvola::desktop
