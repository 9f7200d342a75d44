#pragma once

#include <optional>
#include <string>

namespace tarvola::desktop::win {

// The user's Windows settings that the window takes over, read without any toolkit.

struct TSystemFont {
  std::string Face;  // UTF-8
  int PixelHeight = 0;  // 0: the system leaves the size to the font
  bool Bold = false;
  bool Italic = false;
};

// The font of the icon titles (the system's UI font), or nothing when the system will not say.
std::optional<TSystemFont> IconTitleFont();
// The stock DEFAULT_GUI_FONT.
std::optional<TSystemFont> DefaultGuiFont();

// The user's Internet Settings: the "ProxyEnable" switch (0 when absent) and "ProxyServer".
struct TInternetSettings {
  int ProxyEnable = 0;
  std::string ProxyServer;
};
TInternetSettings ReadInternetSettings();

}  // namespace tarvola::desktop::win
