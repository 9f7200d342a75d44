#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "io/helper_threads.h"
#include "io/stream.h"

namespace tarvola::zip {

// How many pieces may wait for the compressing thread before Write waits.
inline constexpr std::size_t EntryQueueLimit = 4;

// A one-entry archive whose entry arrives in pieces (raw deflate at zlib's default level, zlib's
// CRC-32), compressed on a thread of its own while the entry is still being produced (or, with
// io::THelperThreads::None, as each piece arrives). The local header is written
// again at the end with the CRC-32 and the sizes, so `out` must be seekable and start empty.
class TZipEntryWriter {
public:
  TZipEntryWriter(io::TStream& out, std::string entryName,
                  io::THelperThreads helpers = io::THelperThreads::Allowed);
  ~TZipEntryWriter();
  TZipEntryWriter(const TZipEntryWriter&) = delete;
  TZipEntryWriter& operator=(const TZipEntryWriter&) = delete;

  // Hands a piece over (waits while the compressor is several pieces behind). An error of
  // the compressing thread passes here or from Finish.
  void Write(std::string&& piece);
  // Completes the archive: false when the entry does not fit the 32-bit ZIP fields.
  bool Finish(std::uint32_t dosStamp);

private:
  struct TDeflater;

  void Compress();
  void Deflate(std::string& piece, bool last);
  void Stop();

  io::TStream& FOut;
  std::string FName;
  std::mutex FMutex;
  std::condition_variable FChanged;
  std::deque<std::string> FQueue;
  bool FClosed = false;
  std::exception_ptr FFault;
  std::uint32_t FCrc = 0;
  std::uint64_t FRawSize = 0;
  std::uint64_t FDeflatedSize = 0;
  std::unique_ptr<TDeflater> FDeflater;
  std::string FOutput;
  std::thread FThread;
};

}  // namespace tarvola::zip
