#pragma once

#include <filesystem>
#include <optional>

#include "io/cleanup.h"
#include "io/file_stream.h"

namespace tarvola::kml {

// Where a save's bytes go until the save is complete, by what stands at the target once its
// symbolic links are followed (the link stays, its file is replaced):
// - nothing, or a regular file: a new file beside it, with the old file's permissions (and
//   owner and group where allowed), renamed over it once complete;
// - a device, a named pipe or a socket: an unnamed file in the temporary folder, copied into
//   it once complete; nothing is created beside it;
// - a regular file with other names (hard links): refused, as a replacement would part them.
// Errors are io::EStreamError: EFCreateError naming the target when it cannot be written or is
// refused. Unless committed, nothing is left behind, a signal included (io::TCleanupEntry).
class TSaveTarget {
public:
  // `keepExisting`: a file that appears at the target meanwhile is kept, and Commit fails.
  TSaveTarget(const std::filesystem::path& target, bool keepExisting);
  ~TSaveTarget();
  TSaveTarget(const TSaveTarget&) = delete;
  TSaveTarget& operator=(const TSaveTarget&) = delete;

  io::TFileStream& File() { return *FFile; }
  // `written` is the stream the content went through.
  void Commit(io::TStream& written);

private:
  void CreateBeside();
  void CopyIntoSpecial();

  std::filesystem::path FTarget;  // links followed
  bool FKeepExisting;
  bool FSpecial = false;
  bool FExisted = false;
  std::optional<io::TFileStream> FFile;
  std::optional<io::TCleanupEntry> FCleanup;
};

}  // namespace tarvola::kml
