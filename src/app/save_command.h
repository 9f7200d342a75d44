#pragma once

namespace tarvola::app {

struct TWorkspace;
class TWorkflowView;

inline constexpr const char* KmlFilter =
    "KMZ files (Keyhole Markup Language)(*.kmz)|*.kmz|KML files (Keyhole Markup Language)(*.kml)|*.kml";

// SaveBtClick: asks for a target and writes the loaded data there as KMZ or KML; reports a
// failure with the target and the reason.
void RunSaveCommand(TWorkspace& workspace, TWorkflowView& view);

}  // namespace tarvola::app
