#pragma once

#include <string>
#include <string_view>

#include "desktop/xdg_dirs.h"

namespace tarvola::desktop::xdg {

// The MIME type of files with this extension (".kmz") by the glob rules of the shared MIME
// database in the data folders (mime/globs2, or the older mime/globs). The types the program
// itself opens fall back to a small table of their own when no database knows them.
// Empty when the type is unknown.
std::string MimeTypeForExtension(const TXdgDirs& dirs, std::string_view extension);

}  // namespace tarvola::desktop::xdg
