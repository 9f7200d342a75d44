// The save routine's system steps on POSIX systems (Linux, macOS).
#ifndef _WIN32

#include "kml/save_platform.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace tarvola::kml {

std::filesystem::path MakePrivateFolder(const std::filesystem::path& parent) {
  std::string pattern = (parent / "tarvola-save-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

int LastSystemError() { return errno; }

int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  (void)::fsync(handle);
  ::close(handle);
}

}  // namespace tarvola::kml

#endif  // !_WIN32
