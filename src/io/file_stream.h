#pragma once

#include <cstdint>
#include <filesystem>
#include <system_error>

#include "io/stream.h"
#include "io/system_text.h"

namespace tarvola::io {

enum class TFileMode {
  OpenRead,   // an existing file, read only; others may read it too
  OpenWrite,  // an existing file (a device, a pipe), written from its start without truncating
  Create,     // created, or truncated when it exists
  CreateNew,  // created; fails when the name is taken (see IsNameTaken)
  Temporary,  // a new file without a name inside the folder given as the path, for this process
              // alone, gone when closed (or when the process ends, however it ends)
};

// The folder the system names for temporary files ($TMPDIR, GetTempPath); when that names no
// folder, the name as given with `ec` set, for a message that says so.
std::filesystem::path SystemTemporaryFolder(std::error_code& ec);

// A file on disk. Opening raises EFOpenError or EFCreateError naming the absolute path and the
// system's reason; a failed read raises EReadError. The file is closed when the stream goes.
// Error codes are the system's own: errno, or GetLastError() on Windows. New files get the
// permissions any new file gets (0666 under the umask; the folder's inherited ACL on Windows)
// and are not inherited by programs started later.
class TFileStream : public TStream {
public:
  TFileStream(const std::filesystem::path& path, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  // EWriteError with the system's code when the system refuses (a full disk), not a short count.
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Position() const override;
  std::int64_t Size() const override;
  void SetSize(std::int64_t size) override;
  void Flush() override;  // to the disk, not only to the system

  // Closes now, so that a failure is seen (EWriteError); the destructor ignores it.
  void Close();
  const std::filesystem::path& Path() const { return FPath; }

private:
  std::filesystem::path FPath;
  std::intptr_t FHandle = -1;  // a descriptor, or a HANDLE on Windows (INVALID_HANDLE_VALUE is -1 too)
};

}  // namespace tarvola::io
