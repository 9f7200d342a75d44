// The file layer on Windows: wide-character paths, HANDLEs and the system's message texts.

#include "io/file_stream.h"
#include "io/wide_text.h"

#include "io/windows_api.h"

#include <algorithm>
#include <string>

namespace tarvola::io {

namespace {

// ReadFile and WriteFile count in DWORDs; a gibibyte per call keeps well inside them.
constexpr std::int64_t MaxTransfer = 1 << 30;

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

int LastError() { return static_cast<int>(::GetLastError()); }

DWORD Disposition(TFileMode mode) {
  switch (mode) {
    case TFileMode::OpenRead:
    case TFileMode::OpenWrite: return OPEN_EXISTING;
    case TFileMode::Create: return CREATE_ALWAYS;
    case TFileMode::CreateNew:
    case TFileMode::Temporary: return CREATE_NEW;
  }
  return OPEN_EXISTING;
}

DWORD Access(TFileMode mode) {
  if (mode == TFileMode::OpenRead) return GENERIC_READ;
  return mode == TFileMode::OpenWrite ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
}

DWORD MoveMethod(TSeekOrigin origin) {
  return origin == TSeekOrigin::Begin ? FILE_BEGIN : origin == TSeekOrigin::Current ? FILE_CURRENT : FILE_END;
}

std::int64_t MovePointer(HANDLE file, std::int64_t offset, DWORD method) {
  LARGE_INTEGER distance{};
  distance.QuadPart = offset;
  LARGE_INTEGER position{};
  if (!::SetFilePointerEx(file, distance, &position, method)) {
    const int code = LastError();
    throw EReadError("Stream seek error. " + SystemErrorText(code), code);
  }
  return position.QuadPart;
}

}  // namespace

std::string PathText(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  return Utf8OfWide(wide);
}

std::string SystemErrorText(int code) {
  wchar_t text[512];
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  DWORD length = ::FormatMessageW(flags, nullptr, static_cast<DWORD>(code), 0, text, 512, nullptr);
  // The system's texts end in a line break that would break our one-line messages.
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) --length;
  if (length == 0) return "System error " + std::to_string(code);
  return Utf8OfWide(std::wstring_view(text, length));
}

bool IsNameTaken(int code) { return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS; }

// Others may read the file meanwhile, as on POSIX, and a file we only read others may go on
// writing (a logger's track); a null SECURITY_ATTRIBUTES keeps the handle out of programs
// started later and gives a new file the folder's inherited ACL.
TFileStream::TFileStream(const std::filesystem::path& path, TFileMode mode) : FPath(path) {
  HANDLE file = INVALID_HANDLE_VALUE;
  if (mode == TFileMode::Temporary) {
    // Windows removes the file when its last handle closes, the process's end included.
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
      const std::filesystem::path name =
          path / (L".tarvola-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                  std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(attempt) + L".tmp");
      file = ::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
      if (file == INVALID_HANDLE_VALUE && !IsNameTaken(LastError())) break;
    }
  } else {
    const DWORD share = mode == TFileMode::OpenRead ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                                    : FILE_SHARE_READ;
    file = ::CreateFileW(path.c_str(), Access(mode), share, nullptr, Disposition(mode), FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file != INVALID_HANDLE_VALUE) {
    FHandle = reinterpret_cast<std::intptr_t>(file);
    return;
  }
  const int code = LastError();
  if (mode == TFileMode::OpenRead) throw EFOpenError(FileErrorText("Cannot open file", path, code), code);
  throw EFCreateError(FileErrorText("Cannot create file", path, code), code);
}

TFileStream::~TFileStream() {
  if (FHandle != -1) ::CloseHandle(Native(FHandle));
}

void TFileStream::Close() {
  if (FHandle == -1) return;
  const BOOL closed = ::CloseHandle(Native(FHandle));
  FHandle = -1;
  if (!closed) throw EWriteError(LastError());
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const auto wanted = static_cast<DWORD>(std::min(count - done, MaxTransfer));
    if (!::ReadFile(Native(FHandle), bytes + done, wanted, &n, nullptr)) {
      const int code = LastError();
      if (code == ERROR_BROKEN_PIPE) break;  // a pipe's writer has closed it: its end
      throw EReadError("Stream read error. " + SystemErrorText(code), code);
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    DWORD n = 0;
    const auto offered = static_cast<DWORD>(std::min(count - done, MaxTransfer));
    if (!::WriteFile(Native(FHandle), bytes + done, offered, &n, nullptr)) throw EWriteError(LastError());
    if (n == 0) break;
    done += n;
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  return MovePointer(Native(FHandle), offset, MoveMethod(origin));
}

std::int64_t TFileStream::Position() const { return MovePointer(Native(FHandle), 0, FILE_CURRENT); }

std::int64_t TFileStream::Size() const {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(Native(FHandle), &size)) {
    const int code = LastError();
    throw EReadError("Stream read error. " + SystemErrorText(code), code);
  }
  return size.QuadPart;
}

// SetEndOfFile cuts at the file pointer; the position is kept as ftruncate keeps it.
void TFileStream::SetSize(std::int64_t size) {
  if (size < 0) throw EWriteError(ERROR_NEGATIVE_SEEK);
  const std::int64_t position = Position();
  Seek(size, TSeekOrigin::Begin);
  if (!::SetEndOfFile(Native(FHandle))) {
    const int code = LastError();
    Seek(position, TSeekOrigin::Begin);
    throw EWriteError(code);
  }
  Seek(std::min(position, size), TSeekOrigin::Begin);
}

void TFileStream::Flush() {
  if (!::FlushFileBuffers(Native(FHandle))) throw EWriteError(LastError());
}

}  // namespace tarvola::io
