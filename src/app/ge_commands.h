#pragma once

#include <QString>

class QWidget;

namespace tarvola::ui {
class TUserPrompts;
}

namespace tarvola::desktop {
class TDesktop;
}

namespace tarvola::app {

// The file type whose registered program is taken to be Google Earth.
inline constexpr const char* GeFileType = ".kmz";
inline constexpr const char* GeOpenFilter =
    "KMZ/KML files (Keyhole Markup Language)|*.kmz; *.kml|KMZ files (Keyhole Markup Language)|*.kmz|"
    "KML files (Keyhole Markup Language)|*.kml";

// What the two option-menu commands need from the main window.
struct TGeCommandContext {
  QWidget* Owner = nullptr;       // owns the messages and the file dialog
  ui::TUserPrompts& Prompts;
  QString& LastSaved;             // the last KML or KMZ file; the pick dialog may set it
  QString& OpenDialogFileName;    // the shared open dialog remembers the picked file
  desktop::TDesktop* Desktop = nullptr;    // nullptr: the desktop of this machine
};

// "Open Google Earth": starts the program registered for GeFileType, when its file exists.
void OpenGeBtClick(TGeCommandContext& context);
// "Open with GE last saved file": opens LastSaved in it, asking for a file when LastSaved is
// empty or gone.
void OpenLastSavedBtClick(TGeCommandContext& context);

}  // namespace tarvola::app
