#pragma once

#include <functional>
#include <memory>

#include "io/stream.h"
#include "kml/save_workflow.h"

// For the tests alone: a save whose new file is written through a stream of the test's, which
// can fail where a disk seldom does.
namespace tarvola::kml {

using TTargetStreamWrap = std::function<std::unique_ptr<io::TStream>(io::TStream& file)>;

// SaveGpsFile writing the new file through wrap(file).
TSaveOutcome SaveGpsFileThrough(const TTargetStreamWrap& wrap, const gps::TGpsData& data,
                                const TExportOptions& options, const std::filesystem::path& tempDir,
                                const std::filesystem::path& target, TKmlFileType type);

}  // namespace tarvola::kml
