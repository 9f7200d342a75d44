#include "io/file_time.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tarvola::io {

#ifdef _WIN32

bool LocalTimeOf(std::time_t moment, std::tm& local) { return localtime_s(&local, &moment) == 0; }

std::optional<std::time_t> LastWriteTime(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA info{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) return std::nullopt;
  // FILETIME counts 100 ns steps since 1601; whole seconds, rounded down, as stat gives them.
  constexpr long long StepsPerSecond = 10'000'000;
  constexpr long long EpochSteps = 116'444'736'000'000'000;
  const long long steps = static_cast<long long>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                          info.ftLastWriteTime.dwLowDateTime;
  const long long sinceEpoch = steps - EpochSteps;
  const long long seconds = sinceEpoch >= 0 ? sinceEpoch / StepsPerSecond
                                            : -((-sinceEpoch + StepsPerSecond - 1) / StepsPerSecond);
  return static_cast<std::time_t>(seconds);
}

#else

bool LocalTimeOf(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }

std::optional<std::time_t> LastWriteTime(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return info.st_mtime;
}

#endif

}  // namespace tarvola::io
