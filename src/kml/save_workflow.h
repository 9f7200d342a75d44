#pragma once

#include <filesystem>

#include "kml_builder.h"

namespace tarvola::kml {

enum class TKmlFileType { Kmz, Kml };

enum class TSaveResult {
  Saved,          // the target holds the new file
  BuildFailed,    // "Error saving KML file."; the last saved file is not updated
  PackFailed,     // "Error compressing KMZ file."; the old target is kept
  CopyFailed,     // "Error saving KML file."; the old target is kept
};

// Writes the document to a private "doc.kml" inside tempDir, then packs it (Kmz) or copies
// it (Kml) beside the target under a temporary name and renames it over the target.
// On every outcome nothing of ours is left in tempDir, and a failure leaves the old
// target byte for byte. Errors of the file layer that the caller must report with their
// own message (EFCreateError and friends) pass as exceptions.
TSaveResult SaveGpsFile(const gps::TGpsData& data, const TExportOptions& options,
                        const std::filesystem::path& tempDir,
                        const std::filesystem::path& target, TKmlFileType type);

}  // namespace tarvola::kml
