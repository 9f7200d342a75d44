#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "desktop/xdg_dirs.h"

namespace tarvola::desktop::xdg {

struct TAppChoice {
  bool Found = false;               // some application is associated with the type
  std::filesystem::path Entry;      // the first of them that is installed; empty if none is
};

// The default application for a MIME type: the [Default Applications] of the mimeapps.list
// files in their order, then their [Added Associations], then the mimeinfo.cache files,
// leaving out what a [Removed Associations] group of the same or an earlier file removed.
TAppChoice DefaultApplication(const TXdgDirs& dirs, const std::string& mimeType);

// The file of a desktop file id ("vendor-app.desktop" may live in vendor/app.desktop).
std::optional<std::filesystem::path> FindDesktopFile(const TXdgDirs& dirs, const std::string& id);

}  // namespace tarvola::desktop::xdg
