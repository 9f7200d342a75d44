#include "io/file_time.h"

#include "io/windows_api.h"

namespace tarvola::io {

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

}  // namespace tarvola::io
