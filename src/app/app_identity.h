#pragma once

namespace tarvola::app {

// Names the program to Qt and the desktop: its name and version, the desktop entry that
// Wayland shells match the window to, and the icon every window shows.
void SetApplicationIdentity();

}  // namespace tarvola::app
