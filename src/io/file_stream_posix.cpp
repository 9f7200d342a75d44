// The file layer on POSIX systems (Linux, macOS).
#include "io/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <cerrno>
#include <system_error>

namespace tarvola::io {

namespace {

int OpenFlags(TFileMode mode) {
  switch (mode) {
    case TFileMode::OpenRead: return O_RDONLY;
    case TFileMode::OpenWrite: return O_WRONLY;
    case TFileMode::Create: return O_RDWR | O_CREAT | O_TRUNC;
    case TFileMode::CreateNew: return O_RDWR | O_CREAT | O_EXCL;
    case TFileMode::Temporary: return O_RDWR;
  }
  return O_RDONLY;
}

// One system call moves at most this much, on every platform we build for.
constexpr std::int64_t MaxTransfer = 1 << 30;

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

// An unnamed file in `folder`: O_TMPFILE where the kernel and the file system have it, else a
// new name removed at once, so that nothing is left behind whatever ends the process.
int OpenTemporary(const std::filesystem::path& folder) {
#ifdef O_TMPFILE
  const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return unnamed;
#endif
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = (folder / ".tarvola-XXXXXX").string();
    const int file = ::mkostemp(name.data(), O_CLOEXEC);
    if (file < 0 && errno == EEXIST) continue;
    if (file >= 0) ::unlink(name.c_str());
    return file;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

std::string PathText(const std::filesystem::path& path) { return path.string(); }

std::string SystemErrorText(int code) { return std::system_category().message(code); }

bool IsNameTaken(int code) { return code == EEXIST; }

TFileStream::TFileStream(const std::filesystem::path& path, TFileMode mode) : FPath(path) {
  do {
    FHandle = mode == TFileMode::Temporary ? OpenTemporary(path)
                                           : ::open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  } while (FHandle < 0 && errno == EINTR);
  if (FHandle >= 0) return;
  const int code = errno;
  if (mode == TFileMode::OpenRead) throw EFOpenError(FileErrorText("Cannot open file", path, code), code);
  throw EFCreateError(FileErrorText("Cannot create file", path, code), code);
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(Descriptor(FHandle));
}

void TFileStream::Close() {
  if (FHandle < 0) return;
  const int result = ::close(Descriptor(FHandle));
  FHandle = -1;
  if (result != 0 && errno != EINTR) throw EWriteError(errno);
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::read(Descriptor(FHandle), bytes + done, static_cast<std::size_t>(std::min(count - done, MaxTransfer)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError("Stream read error. " + SystemErrorText(errno), errno);
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n =
        ::write(Descriptor(FHandle), bytes + done, static_cast<std::size_t>(std::min(count - done, MaxTransfer)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EWriteError(errno);
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::Begin ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t position = ::lseek(Descriptor(FHandle), static_cast<off_t>(offset), whence);
  if (position < 0) throw EReadError("Stream seek error. " + SystemErrorText(errno), errno);
  return position;
}

std::int64_t TFileStream::Position() const {
  const off_t position = ::lseek(Descriptor(FHandle), 0, SEEK_CUR);
  if (position < 0) throw EReadError("Stream seek error. " + SystemErrorText(errno), errno);
  return position;
}

std::int64_t TFileStream::Size() const {
  struct stat info {};
  if (::fstat(Descriptor(FHandle), &info) != 0) throw EReadError("Stream read error. " + SystemErrorText(errno), errno);
  return info.st_size;
}

void TFileStream::SetSize(std::int64_t size) {
  if (::ftruncate(Descriptor(FHandle), static_cast<off_t>(size)) != 0) throw EWriteError(errno);
  if (Position() > size) Seek(size, TSeekOrigin::Begin);
}

void TFileStream::Flush() {
#ifdef __APPLE__
  // fsync on macOS leaves the data in the drive's cache; F_FULLFSYNC gets it onto the medium.
  // Some file systems (network shares) refuse it: fsync is the most they offer then.
  if (::fcntl(Descriptor(FHandle), F_FULLFSYNC) == 0) return;
#endif
  if (::fsync(Descriptor(FHandle)) != 0) throw EWriteError(errno);
}

}  // namespace tarvola::io
