#pragma once

#include <cstddef>

#include "gps/gpx_events.h"
#include "gps/gpx_reader.h"
#include "gps/text_read_ahead.h"
#include "gps/text_source.h"

namespace tarvola::gps {

// What one file may cost, far above any real GPX file (whose elements nest some eight deep): a
// file whose elements nest deeper, or that holds a single tag, text or value longer, is refused.
inline constexpr std::size_t DepthLimit = 10000;
inline constexpr std::size_t TokenLimit = 32u << 20;

// Parses the text of an opened source as GPX into `events`, piece by piece, in one pass. On
// failure the events already given belong to a file that did not load. Ampersands that start no
// reference stand for themselves (TAmpersandRepair). Whatever `events` throws passes to the
// caller, std::bad_alloc included. The source is read ahead on a thread of its own if allowed.
TLoadOutcome ParseGpxText(TTextSource& source, TGpxEvents& events,
                          THelperThreads helpers = THelperThreads::Allowed);

// The load failure of a source that did not open.
TLoadOutcome OpenFailure(const TTextOpenResult& opened);

// The load failure of a reading that ran out of memory.
TLoadOutcome MemoryFailure(const TTextSource& source);

}  // namespace tarvola::gps
