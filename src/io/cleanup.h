#pragma once

#include <filesystem>

namespace tarvola::io {

// A file or folder of ours that must not outlive the process when a signal ends it: while the
// entry lives, the handlers InstallSignalCleanup sets remove it (files first, then folders).
// Best effort: a path too long for the fixed table, or a full table, is not registered.
class TCleanupEntry {
public:
  enum TKind { File, Folder };
  TCleanupEntry(const std::filesystem::path& path, TKind kind);
  ~TCleanupEntry();
  TCleanupEntry(const TCleanupEntry&) = delete;
  TCleanupEntry& operator=(const TCleanupEntry&) = delete;

private:
  int FSlot = -1;
};

// For a command-line program: SIGINT, SIGTERM and SIGHUP remove the registered entries and end
// the process as the signal would have; SIGPIPE and SIGXFSZ are ignored, so that a write to a
// closed pipe or past the file-size limit fails with its reason instead of killing the process.
void InstallSignalCleanup();

}  // namespace tarvola::io
