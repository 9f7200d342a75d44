#pragma once

#include <QFont>

namespace tarvola::ui {

// Registers the Tahoma compatible face that some systems keep outside the font path (Debian's
// fonts-wine). Safe to call more than once.
void RegisterCompatibleFonts();

// "Tahoma" at 11 pixels: the top panel and the popup menus.
QFont PanelFont();
// "MS Sans Serif" at 11 pixels, drawn with an outline face as Windows does: the tree and the
// wait panel.
QFont ClassicFont();

}  // namespace tarvola::ui
