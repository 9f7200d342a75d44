#include <malloc.h>

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include "ui/ui_platform.h"

namespace tarvola::ui {

// Desktops publish one general font; it serves for the icon-title font as well.
void SetSystemUiFont(QFont& font) { SetDefaultGuiFont(font); }

void SetDefaultGuiFont(QFont& font) { font = QFontDatabase::systemFont(QFontDatabase::GeneralFont); }

void SetExplorerTheme(QWidget*) {}

// glibc keeps freed blocks for later allocations; a closed tree branch can leave megabytes.
void ReturnFreedMemory() { malloc_trim(0); }

}  // namespace tarvola::ui
