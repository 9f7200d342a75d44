#pragma once

#include <string>

#include "gps/gpx_events.h"
#include "gps/gpx_reader.h"
#include "gps/text_source.h"

namespace tarvola::gps {

// Raised by a strict parse that fails where the lenient one may not: the caller drops what the
// events built, rewinds the source and parses again with `lenient`. `Reason` is the strict
// parse's, the one to give when the lenient parse fails too.
struct ERetryLenient {
  std::string Reason;
};

// Parses the text of an opened source as GPX into `events`, piece by piece. On failure the
// events already given belong to a file that did not load. Lenient: ampersands that start no
// reference stand for themselves (TAmpersandRepair). Whatever `events` throws passes to the
// caller, std::bad_alloc included.
TLoadOutcome ParseGpxText(TTextSource& source, TGpxEvents& events, bool lenient = false);

// The load failure of a source that did not open.
TLoadOutcome OpenFailure(const TTextFileResult& opened);

// The load failure of a reading that ran out of memory.
TLoadOutcome MemoryFailure(const TTextSource& source);

}  // namespace tarvola::gps
