#pragma once

#include <cstddef>
#include <string>

#include "gps/gps_data.h"
#include "gps/gpx_reader.h"

namespace tarvola::cli {

struct TGpsSummary {
  std::size_t Waypoints = 0;
  std::size_t Routes = 0;
  std::size_t RoutePoints = 0;
  std::size_t Tracks = 0;
  std::size_t Segments = 0;
  std::size_t TrackPoints = 0;
  std::string EarliestTime;  // ISO 8601; empty when no point has a time
  std::string LatestTime;
};

// Counts over the whole data, whatever the export options; times compared as stored.
TGpsSummary SummarizeGpsData(const gps::TGpsData& data);

// The reason a load failed, in the program's words ("" for Loaded).
std::string LoadFailureText(gps::TLoadResult result);

// The --info lines for one file, each ending in a line break.
std::string InfoReport(std::string_view fileName, gps::TLoadResult result,
                       const TGpsSummary& summary);

}  // namespace tarvola::cli
