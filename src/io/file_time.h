#pragma once

#include <ctime>
#include <filesystem>
#include <optional>

namespace tarvola::io {

// The two clock questions the ZIP time stamps ask of the system; file_time_posix.cpp and
// file_time_win.cpp answer them.

// The moment's local calendar time under the system's time zone rules; false when it has none.
bool LocalTimeOf(std::time_t moment, std::tm& local);

// The file's last write, in whole seconds since the epoch; nothing when it cannot be found.
std::optional<std::time_t> LastWriteTime(const std::filesystem::path& path);

}  // namespace tarvola::io
