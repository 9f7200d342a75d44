#pragma once

#include <filesystem>

namespace tarvola::kml {

// The system steps of the save routine, defined in save_platform_posix.cpp or
// save_platform_win.cpp. Error codes are the system's own, as io::EStreamError::Code() has them.

// A new folder with a name no one else holds, inside parent, for the user alone where the system
// can say so; empty when it cannot be made, and LastSystemError() then says why.
std::filesystem::path MakePrivateFolder(const std::filesystem::path& parent);

// The error code the system left from the last call that failed on this thread.
int LastSystemError();

// Puts the complete file `from` in place of `to` in one step, so that a reader sees the old file
// or the new one, never neither; `to` may exist. 0, or the system's error code.
int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to);

// MoveIntoPlace where `to` must not exist: fails with a code io::IsNameTaken knows when something
// stands there, and never replaces it, however late it came.
int MoveIntoPlaceNew(const std::filesystem::path& from, const std::filesystem::path& to);

// Gives `file` the permissions of `like` and, where the system lets this process, its owner and
// group; where the group cannot be kept, the group's permissions are dropped rather than handed
// to another group. Does nothing where files carry access lists instead (Windows).
void TakeOwnership(const std::filesystem::path& file, const std::filesystem::path& like);

// Makes a rename in `folder` (the current folder when empty) survive a power cut.
void SyncFolder(const std::filesystem::path& folder);

}  // namespace tarvola::kml
