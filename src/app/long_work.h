#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "io/progress.h"

namespace tarvola::app {

// What long work and the window share: how far the work has come, and whether the user asked
// it to stop. The work writes the one, the window the other, each from its own thread.
class TWorkProgress {
public:
  // The watch to hand to the core: it records the progress and answers whether to go on.
  io::TProgressWatch Watch() {
    return [this](std::uint64_t done) {
      FDone.store(done, std::memory_order_relaxed);
      return !FCancelled.load(std::memory_order_relaxed);
    };
  }
  void Cancel() { FCancelled.store(true); }
  bool Cancelled() const { return FCancelled.load(); }
  std::uint64_t Done() const { return FDone.load(std::memory_order_relaxed); }

private:
  std::atomic<std::uint64_t> FDone{0};
  std::atomic<bool> FCancelled{false};
};

using TLongWork = std::function<void(TWorkProgress& progress)>;

// Runs `work` on a thread of its own and turns the event loop until it has ended, so that the
// window keeps painting and answering; `tick` runs on the event thread every few hundredths of
// a second meanwhile. When the event loop is told to quit (the application is ending), the work
// is cancelled and waited for. An exception from the work passes to the caller.
void RunBesideEventLoop(TWorkProgress& progress, const TLongWork& work, const std::function<void()>& tick);

}  // namespace tarvola::app
