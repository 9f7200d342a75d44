#pragma once

#include <QString>

namespace tarvola::app {

// The program's name, as captions and message titles show it.
QString ProductName();

// Names the program to Qt and the desktop: its name and version, the desktop entry that
// Wayland shells match the window to, and the icon every window shows.
void SetApplicationIdentity();
// Only the name and version, which a program without windows needs too.
void SetProgramNames();

}  // namespace tarvola::app
