#include "gps/text_read_ahead.h"

namespace tarvola::gps {

TTextReadAhead::TTextReadAhead(TTextSource& source, TPrepare prepare, THelperThreads helpers)
    : FSource(source), FPrepare(std::move(prepare)), FOwnThread(helpers == THelperThreads::Allowed) {
  if (FOwnThread) FThread = std::thread([this] { Read(); });
}

void TTextReadAhead::Read() {
  try {
    std::string text;
    bool more = true;
    while (more) {
      more = FSource.Next(text);
      const bool mark = FPrepare(text, !more);
      std::unique_lock lock(FMutex);
      FChanged.wait(lock, [&] { return FQueue.size() < ReadAheadPieces || FStopped; });
      if (FStopped) break;
      FQueue.push_back({std::move(text), mark});
      text = std::string();
      lock.unlock();
      FChanged.notify_all();
    }
  } catch (...) {
    std::lock_guard lock(FMutex);
    FFault = std::current_exception();
  }
  {
    std::lock_guard lock(FMutex);
    FDone = true;
  }
  FChanged.notify_all();
}

bool TTextReadAhead::Next(std::string& piece, bool& mark) {
  if (!FOwnThread) {
    // As the reading thread does: the piece after the text's end carries what `prepare` held.
    if (FDone) return false;
    FDone = !FSource.Next(piece);
    mark = FPrepare(piece, FDone);
    return true;
  }
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [&] { return !FQueue.empty() || FDone; });
  if (FQueue.empty()) {
    if (FFault) std::rethrow_exception(FFault);
    return false;
  }
  piece = std::move(FQueue.front().Text);
  mark = FQueue.front().Mark;
  FQueue.pop_front();
  lock.unlock();
  FChanged.notify_all();
  return true;
}

void TTextReadAhead::Stop() {
  {
    std::lock_guard lock(FMutex);
    FStopped = true;
  }
  FChanged.notify_all();
  if (FThread.joinable()) FThread.join();
}

}  // namespace tarvola::gps
