#include "desktop/windows_backend.h"

#include "io/wide_text.h"

#include "io/windows_api.h"
#include <shellapi.h>

#include <vector>

namespace tarvola::desktop {

namespace {

std::wstring KeyPath(const std::string& key) {
  std::wstring path = io::WideOfUtf8(key);
  while (!path.empty() && path.front() == L'\\') path.erase(0, 1);
  return path;
}

class TWinRegistry : public TRegistry {
public:
  explicit TWinRegistry(HKEY root) : FRoot(root) {}
  ~TWinRegistry() override { CloseKey(); }
  TWinRegistry(const TWinRegistry&) = delete;
  TWinRegistry& operator=(const TWinRegistry&) = delete;

  bool KeyExists(const std::string& key) override {
    HKEY h = nullptr;
    if (RegOpenKeyExW(FRoot, KeyPath(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
  }
  bool OpenKeyReadOnly(const std::string& key) override {
    CloseKey();
    return RegOpenKeyExW(FRoot, KeyPath(key).c_str(), 0, KEY_READ, &FKey) == ERROR_SUCCESS;
  }
  std::string ReadString(const std::string& name) override {
    if (!FKey) return {};
    std::wstring wname = io::WideOfUtf8(name);
    DWORD type = 0, size = 0;
    LSTATUS status = RegQueryValueExW(FKey, wname.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) throw ERegistryException("Failed to get data for '" + name + "'");
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(FKey, wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes) !=
        ERROR_SUCCESS)
      return {};
    std::size_t length = bytes / sizeof(wchar_t);
    while (length > 0 && buffer[length - 1] == L'\0') --length;
    return io::Utf8OfWide(std::wstring_view(buffer.data(), length));
  }
  void CloseKey() override {
    if (FKey) RegCloseKey(FKey);
    FKey = nullptr;
  }

private:
  HKEY FRoot;
  HKEY FKey = nullptr;
};

std::string Folder(UINT (*get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH + 1] = {};
  UINT n = get(buffer, MAX_PATH);
  return n == 0 || n > MAX_PATH ? std::string() : io::Utf8OfWide(std::wstring_view(buffer, n));
}

UINT SystemDirectory(LPWSTR b, UINT n) { return GetSystemDirectoryW(b, n); }
UINT WindowsDirectory(LPWSTR b, UINT n) { return GetWindowsDirectoryW(b, n); }

}  // namespace

std::unique_ptr<TRegistry> TWinRegistryAccess::Open(TRegRoot root) const {
  return std::make_unique<TWinRegistry>(root == TRegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT);
}

std::optional<std::string> TWinSystemCalls::ExpandEnvironment(const std::string& text) {
  std::wstring source = io::WideOfUtf8(text);
  // Asks for the size first, so a long expansion is never cut.
  DWORD needed = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
  for (int attempt = 0; needed != 0 && attempt < 3; ++attempt) {
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    DWORD n = ExpandEnvironmentStringsW(source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) break;
    if (n <= buffer.size()) return io::Utf8OfWide(std::wstring_view(buffer.data(), n - 1));
    needed = n;
  }
  return std::nullopt;
}

std::string TWinSystemCalls::SystemFolder() { return Folder(SystemDirectory); }

std::string TWinSystemCalls::WindowsFolder() { return Folder(WindowsDirectory); }

bool TWinSystemCalls::FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(io::WideOfUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWinShell::Execute(const TShellRequest& request) {
  // Nothing to start: the same answer the shell gives for a file it cannot run.
  if (request.Program.empty()) return false;
  std::wstring program = io::WideOfUtf8(request.Program), parameters = io::WideOfUtf8(request.Parameters);
  HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(request.OwnerWindow), L"open", program.c_str(),
                                   parameters.empty() ? nullptr : parameters.c_str(), nullptr, request.ShowMode);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace tarvola::desktop
