#pragma once

#include <filesystem>
#include <string>
#include <string_view>

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

// The same; on failure `reason` says why in plain words for the message that names the file:
// the system's reason, where the XML stops being well-formed, which element the document is.
TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data,
                        std::string& reason);

// LoadGpxFile over the bytes of a file already in memory.
TLoadResult ParseGpx(std::string_view bytes, TGpsData& data, std::string& reason);

}  // namespace tarvola::gps
