#include "io/file_time.h"

#include <sys/stat.h>

namespace tarvola::io {

bool LocalTimeOf(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }

std::optional<std::time_t> LastWriteTime(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info.st_mtime;
}

}  // namespace tarvola::io
