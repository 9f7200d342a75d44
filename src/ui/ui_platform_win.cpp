#include <windows.h>
#include <uxtheme.h>

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include "desktop/win_settings.h"
#include "ui/ui_platform.h"

namespace tarvola::ui {

namespace {

QFont QtFont(const desktop::win::TSystemFont& system) {
  QFont font(QString::fromStdString(system.Face));
  if (system.PixelHeight != 0) font.setPixelSize(system.PixelHeight);
  font.setWeight(system.Bold ? QFont::Bold : QFont::Normal);
  font.setItalic(system.Italic);
  return font;
}

}  // namespace

void SetSystemUiFont(QFont& font) {
  if (const auto system = desktop::win::IconTitleFont()) {
    font = QtFont(*system);
  } else {
    SetDefaultGuiFont(font);
  }
}

void SetDefaultGuiFont(QFont& font) {
  if (const auto system = desktop::win::DefaultGuiFont()) {
    font = QtFont(*system);
  } else {
    font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  }
}

void SetExplorerTheme(QWidget* widget) {
  if (widget) {
    SetWindowTheme(reinterpret_cast<HWND>(widget->winId()), L"explorer", nullptr);
  }
}

void ReturnFreedMemory() { HeapCompact(GetProcessHeap(), 0); }

}  // namespace tarvola::ui
