#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "gps/gpx_reader.h"
#include "gps/text_source.h"
#include "kml_builder.h"
#include "save_workflow.h"

namespace tarvola::kml {

struct TConversion {
  gps::TLoadOutcome Loaded{gps::TLoadResult::CannotOpen, {}, {}};
  TSaveOutcome Saved{TSaveResult::BuildFailed, {}, {}};  // meaningful once Loaded
  std::uint64_t LeftOut = 0;  // route and track points left out of their lines (TKmlStreamer)
};

// LoadGpxFile and SaveGpsFile in one pass: the document is written as the file is read, without
// records for the whole file, and gives the same bytes. Nothing is written unless the file
// loads. Failures as SaveGpsFile's. With io::THelperThreads::None the conversion runs on the
// caller's thread alone; else it reads ahead and compresses on a thread each.
TConversion ConvertGpxFile(const std::filesystem::path& input, const TExportOptions& options,
                           const std::filesystem::path& target, TKmlFileType type,
                           const TSaveSettings& settings = {});

// The same from a source opened already (standard input, say), read once as it comes.
TConversion ConvertGpxSource(gps::TTextSource& source, const TExportOptions& options,
                             const std::filesystem::path& target, TKmlFileType type,
                             const TSaveSettings& settings = {});

// The same over a file's bytes already in memory, the document kept in memory too: KML text, or
// the bytes of a KMZ package. `createdText` as BuildKml's. `document` is empty unless the
// conversion succeeds.
TConversion ConvertGpxBytes(std::string_view bytes, const TExportOptions& options, TKmlFileType type,
                            std::string_view createdText, std::string& document);

}  // namespace tarvola::kml
