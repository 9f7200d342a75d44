#pragma once

#include <QString>

#include "gps/gpx_reader.h"

namespace tarvola::app {

struct TWorkspace;
class TWorkflowView;

inline constexpr const char* GpxFilter = "GPS exchange format (*.gpx)|*.gpx|All files (*.*)|*.*";

// OpenGpxFile: replaces the loaded data by a GPX file's; an empty name asks the user.
void RunOpenWorkflow(TWorkspace& workspace, TWorkflowView& view, const QString& fileName);

}  // namespace tarvola::app
