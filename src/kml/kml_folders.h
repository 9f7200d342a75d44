#pragma once

#include <vector>

#include "gps/gps_data.h"
#include "kml_builder.h"
#include "kml_writer.h"

namespace tarvola::kml {

// The three folders that follow the document head, each appended inside Document.
void WriteWaypointsFolder(TKmlWriter& writer, const std::vector<gps::TWpt>& waypoints,
                          const TExportOptions& options);
void WriteRoutesFolder(TKmlWriter& writer, const std::vector<gps::TRte>& routes,
                       const TExportOptions& options);
void WriteTracksFolder(TKmlWriter& writer, const std::vector<gps::TTrk>& tracks,
                       const TExportOptions& options);

}  // namespace tarvola::kml
