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

// Parses the text of an opened source as GPX into `events`, piece by piece. On failure
// `reason` says why (the events already given belong to a file that did not load). Lenient:
// ampersands that start no reference stand for themselves (TAmpersandRepair). Whatever
// `events` throws passes to the caller.
TLoadResult ParseGpxText(TTextSource& source, TGpxEvents& events, std::string& reason,
                         bool lenient = false);

}  // namespace tarvola::gps
