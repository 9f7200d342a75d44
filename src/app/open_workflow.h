#pragma once

#include <QString>

namespace tarvola::app {

class TMainForm;

inline constexpr const char* GpxFilter = "GPS exchange format (*.gpx)|*.gpx|All files (*.*)|*.*";

// OpenGpxFile: replaces the loaded data by a GPX file's; an empty name asks the user.
void RunOpenWorkflow(TMainForm& form, const QString& fileName);

}  // namespace tarvola::app
