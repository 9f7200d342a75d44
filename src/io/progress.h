#pragma once

#include <cstdint>
#include <functional>

namespace tarvola::io {

// Long work tells how far it has come (bytes read, points written) and asks whether to go on;
// false stops it as soon as it can stop cleanly. Called on the thread doing the work, often, so
// it must be cheap.
using TProgressWatch = std::function<bool(std::uint64_t done)>;

}  // namespace tarvola::io
