#ifdef _WIN32
#include <windows.h>
#include <uxtheme.h>

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include "ui/ui_platform.h"

namespace tarvola::ui {

namespace {

QFont FontFromLogFont(const LOGFONTW& lf) {
  QFont font(QString::fromWCharArray(lf.lfFaceName));
  if (lf.lfHeight != 0) font.setPixelSize(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
  font.setWeight(lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
  font.setItalic(lf.lfItalic != 0);
  return font;
}

}  // namespace

bool IsVistaOrLater() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma warning(suppress : 4996)
  if (!GetVersionExW(&info)) return false;
  return info.dwMajorVersion >= 6;
}

void SetSystemUiFont(QFont& font) {
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) {
    font = FontFromLogFont(lf);
  } else {
    SetDefaultGuiFont(font);
  }
}

void SetDefaultGuiFont(QFont& font) {
  LOGFONTW lf{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf)) {
    font = FontFromLogFont(lf);
  } else {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  }
}

void SetExplorerTheme(QWidget* widget) {
  if (widget && IsVistaOrLater()) {
    SetWindowTheme(reinterpret_cast<HWND>(widget->winId()), L"explorer", nullptr);
  }
}

}  // namespace tarvola::ui
#endif
