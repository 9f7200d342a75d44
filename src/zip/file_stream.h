#pragma once

#include <filesystem>

#include "zip/stream.h"

namespace tarvola::zip {

enum class TFileMode {
  OpenRead,   // an existing file, read only; others may read it too
  Create,     // created, or truncated when it exists
  CreateNew,  // created; fails (EEXIST) when the name is taken
};

// A file on disk. Opening raises EFOpenError or EFCreateError naming the absolute path and the
// system's reason; a failed read raises EReadError. The file is closed when the stream goes.
class TFileStream : public TStream {
public:
  TFileStream(const std::filesystem::path& path, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
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
  int FHandle = -1;
};

}  // namespace tarvola::zip
