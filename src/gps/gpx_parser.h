#pragma once

#include <string>

#include "gps/gpx_events.h"
#include "gps/gpx_reader.h"
#include "gps/text_source.h"

namespace tarvola::gps {

// Parses the text of an opened source as GPX into `events`, piece by piece. On failure
// `reason` says why (the events already given belong to a file that did not load). Whatever
// `events` throws passes to the caller.
TLoadResult ParseGpxText(TTextSource& source, TGpxEvents& events, std::string& reason);

}  // namespace tarvola::gps
