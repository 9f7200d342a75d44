#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "gps/text_source.h"
#include "io/helper_threads.h"

namespace tarvola::gps {

// How many decoded pieces the reading thread may hold ready for the parser.
inline constexpr std::size_t ReadAheadPieces = 3;

using io::THelperThreads;

// Reads a text source on a thread of its own, a few pieces ahead of the parser, so that reading
// and decoding the file overlap with parsing it; with THelperThreads::None, on the caller's
// thread as each piece is asked for.
class TTextReadAhead {
public:
  // Runs on the reading thread for each piece, and once more with an empty piece and `last`;
  // its result comes with the piece.
  using TPrepare = std::function<bool(std::string& piece, bool last)>;

  TTextReadAhead(TTextSource& source, TPrepare prepare, THelperThreads helpers = THelperThreads::Allowed);
  ~TTextReadAhead() { Stop(); }
  TTextReadAhead(const TTextReadAhead&) = delete;
  TTextReadAhead& operator=(const TTextReadAhead&) = delete;

  // The next piece and what `prepare` said of it; false after the last one. Whatever `prepare`
  // or the source threw passes here.
  bool Next(std::string& piece, bool& mark);
  // Stops reading and waits for the thread; the source is the caller's again.
  void Stop();

private:
  struct TPiece {
    std::string Text;
    bool Mark;
  };

  void Read();

  TTextSource& FSource;
  TPrepare FPrepare;
  std::mutex FMutex;
  std::condition_variable FChanged;
  std::deque<TPiece> FQueue;
  bool FOwnThread;
  bool FDone = false;     // the reading thread has put its last piece
  bool FStopped = false;  // the parser wants no more
  std::exception_ptr FFault;
  std::thread FThread;
};

}  // namespace tarvola::gps
