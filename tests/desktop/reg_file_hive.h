// Owned by the desktop subsystem.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "desktop/registry.h"

namespace tarvola::desktop {

// The keys of a registry export file ("Windows Registry Editor Version 5.00", UTF-8 or
// UTF-16 with its byte-order mark), for HKEY_CURRENT_USER and HKEY_CLASSES_ROOT.
class TRegFileHive : public TRegistryAccess {
public:
  enum class TKind { String, ExpandString, Other };
  struct TValue {
    TKind Kind = TKind::String;
    std::string Text;  // UTF-8; empty for other kinds
  };
  // Lower-cased value name -> value.
  using TKey = std::map<std::string, TValue>;

  // Throws std::runtime_error when the text is no registry export.
  static TRegFileHive FromText(std::string_view bytes);
  static TRegFileHive FromFile(const std::filesystem::path& path);

  std::unique_ptr<TRegistry> Open(TRegRoot root) const override;

  // The key at a path below the root, or nullptr.
  const TKey* Find(TRegRoot root, const std::string& path) const;

private:
  // Root, then the lower-cased key path without leading backslash.
  std::map<std::pair<TRegRoot, std::string>, TKey> FKeys;
};

}  // namespace tarvola::desktop
