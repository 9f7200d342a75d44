#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

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

// Counts over the whole file, whatever the export options, as the file is read (nothing is
// held); times compared as stored. `summary` is complete only when the outcome is Loaded.
gps::TLoadOutcome SummarizeGpxFile(const std::filesystem::path& file, TGpsSummary& summary);
// The same over a stream opened for binary reading (standard input), named `name`.
gps::TLoadOutcome SummarizeGpxStream(std::FILE* stream, const std::filesystem::path& name, TGpsSummary& summary);


// The --info lines for one file that loaded, each ending in a line break.
std::string InfoReport(std::string_view fileName, const TGpsSummary& summary);

}  // namespace tarvola::cli
