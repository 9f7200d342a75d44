#pragma once

class QFont;
class QWidget;

namespace tarvola::ui {

// The system's UI font (icon-title font), else the default GUI font.
void SetSystemUiFont(QFont& font);
void SetDefaultGuiFont(QFont& font);
// The explorer look for a native tree; nothing where the system has no such theme.
void SetExplorerTheme(QWidget* widget);
// Hands memory freed by the program back to the system, after a large structure is let go.
void ReturnFreedMemory();

}  // namespace tarvola::ui
