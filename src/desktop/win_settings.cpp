#include "desktop/win_settings.h"

#include "io/wide_text.h"

#include "io/windows_api.h"

#include <cwchar>
#include <vector>

namespace tarvola::desktop::win {

namespace {

TSystemFont FontOf(const LOGFONTW& font) {
  const std::size_t length = wcsnlen(font.lfFaceName, LF_FACESIZE);
  return {io::Utf8OfWide(std::wstring_view(font.lfFaceName, length)),
          font.lfHeight < 0 ? -static_cast<int>(font.lfHeight) : static_cast<int>(font.lfHeight),
          font.lfWeight >= FW_BOLD, font.lfItalic != 0};
}

constexpr const wchar_t* InternetSettingsKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// A DWORD as it is; a string that holds a number as that number, as other readers of the key do.
int ReadSwitch(HKEY key, const wchar_t* name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD)
    return static_cast<int>(value);
  wchar_t text[32] = {};
  size = sizeof text - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
      type == REG_SZ)
    return static_cast<int>(std::wcstol(text, nullptr, 10));
  return 0;
}

std::string ReadText(HKEY key, const wchar_t* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return {};
  return io::Utf8OfWide(std::wstring_view(buffer.data(), wcsnlen(buffer.data(), buffer.size())));
}

}  // namespace

std::optional<TSystemFont> IconTitleFont() {
  LOGFONTW font{};
  if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) return std::nullopt;
  return FontOf(font);
}

std::optional<TSystemFont> DefaultGuiFont() {
  LOGFONTW font{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) == 0) return std::nullopt;
  return FontOf(font);
}

TInternetSettings ReadInternetSettings() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, InternetSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  TInternetSettings settings{ReadSwitch(key, L"ProxyEnable"), ReadText(key, L"ProxyServer")};
  RegCloseKey(key);
  return settings;
}

}  // namespace tarvola::desktop::win
