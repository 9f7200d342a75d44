// The save routine's system steps on POSIX systems (Linux, macOS).

#include "kml/save_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
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

int MoveIntoPlaceNew(const std::filesystem::path& from, const std::filesystem::path& to) {
  // A hard link never replaces: it fails with EEXIST when a file came in the meantime.
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return 0;
  }
  const int code = errno;
  if (code == EEXIST) return code;
  // File systems without hard links (FAT, some network shares): a check, then the rename.
  if (::access(to.c_str(), F_OK) == 0) return EEXIST;
  return MoveIntoPlace(from, to);
}

void TakeOwnership(const std::filesystem::path& file, const std::filesystem::path& like) {
  struct stat old {};
  if (::stat(like.c_str(), &old) != 0) return;
  mode_t mode = old.st_mode & 0777;
  if (::chown(file.c_str(), old.st_uid, old.st_gid) != 0 && ::chown(file.c_str(), static_cast<uid_t>(-1), old.st_gid) != 0)
    mode &= ~static_cast<mode_t>(S_IRWXG);
  (void)::chmod(file.c_str(), mode);
}

void SyncFolder(const std::filesystem::path& folder) {
  const int handle = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (handle < 0) return;
  (void)::fsync(handle);
  ::close(handle);
}

}  // namespace tarvola::kml
