#pragma once

#include <filesystem>

#include "gps_data.h"

namespace tarvola::gps {

enum class TLoadResult {
  Loaded,               // a gpx document; the three lists exist (possibly empty)
  CannotOpen,           // "Cannot open file"
  EncodingNotSupported, // "Text encoding not supported"
  NotGpx,               // not well-formed XML, or the document element is not gpx
};

// Replaces `data` with the file's contents. On anything but Loaded the three lists are absent.
TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data);

}  // namespace tarvola::gps
