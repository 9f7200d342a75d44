#pragma once

namespace tarvola::app {

class TMainForm;

inline constexpr const char* KmlFilter =
    "KMZ files (Keyhole Markup Language)(*.kmz)|*.kmz|KML files (Keyhole Markup Language)(*.kml)|*.kml";

// SaveBtClick: asks for a target and writes the loaded data there as KMZ or KML; reports a
// failure with the target and the reason.
void RunSaveCommand(TMainForm& form);

}  // namespace tarvola::app
