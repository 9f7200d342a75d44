// The save routine's system steps on Windows.

#include "kml/save_platform.h"

#include "io/windows_api.h"

#include <cstdio>
#include <random>
#include <string>

namespace tarvola::kml {

namespace {

std::wstring RandomName() {
  std::random_device source;
  const unsigned long long value = (static_cast<unsigned long long>(source()) << 32) ^ source();
  wchar_t text[17];
  std::swprintf(text, 17, L"%016llx", value);
  return L"tarvola-save-" + std::wstring(text);
}

}  // namespace

// The user's temporary folder is already the user's own: the inherited ACL is what mkdtemp's
// 0700 gives elsewhere.
std::filesystem::path MakePrivateFolder(const std::filesystem::path& parent) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = parent / RandomName();
    if (::CreateDirectoryW(candidate.c_str(), nullptr)) return candidate;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

int LastSystemError() { return static_cast<int>(::GetLastError()); }

// Not ReplaceFileW: it would carry the old file's ACL and attributes over to the new one,
// which is to have the permissions of a newly created file. Write-through returns only once
// the rename is on the disk, which is all SyncFolder does elsewhere.
int MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  return static_cast<int>(::GetLastError());
}

int MoveIntoPlaceNew(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
  return static_cast<int>(::GetLastError());
}

// The new file takes the folder's inherited ACL, as a newly created file does.
void TakeOwnership(const std::filesystem::path&, const std::filesystem::path&) {}

void SyncFolder(const std::filesystem::path&) {}

}  // namespace tarvola::kml
