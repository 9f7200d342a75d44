#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "gps_data.h"
#include "io/progress.h"
#include "io/result.h"

namespace tarvola::gps {

enum class TLoadResult {
  Loaded,               // a gpx document; the three lists exist (possibly empty)
  CannotOpen,           // "Cannot open file"
  EncodingNotSupported, // "Text encoding not supported"
  NotGpx,               // not well-formed XML, or the document element is not gpx
  OutOfMemory,          // the records, or the text on its way to them, did not fit in memory
  Cancelled,            // the progress watch asked to stop
};

// On failure the reason says why in plain words for the message that names the file: the
// system's reason, where the XML stops being well-formed, which element the document is.
using TLoadOutcome = io::TResult<TLoadResult>;

// Replaces `data` with the file's contents. On anything but Loaded the three lists are absent.
TLoadOutcome LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data);

// The same, telling `watch` the bytes read so far; when it answers false the load ends as
// Cancelled, with nothing in `data`.
TLoadOutcome LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data, io::TProgressWatch watch);

// LoadGpxFile over a stream opened for binary reading (standard input), read once as it comes;
// `name` is the one the outcome gives.
TLoadOutcome LoadGpxStream(std::FILE* stream, const std::filesystem::path& name, TGpsData& data);

// LoadGpxFile over the bytes of a file already in memory; the outcome names no file.
TLoadOutcome ParseGpx(std::string_view bytes, TGpsData& data);

// The words for a failed load, the same in the window and the converter ("" for Loaded). The
// outcome's reason follows them in a message that names the file.
std::string LoadFailureText(TLoadResult result);

}  // namespace tarvola::gps
