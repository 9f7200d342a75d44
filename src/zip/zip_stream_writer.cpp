#include "zip/zip_stream_writer.h"

#include <zlib.h>

#include <new>

#include "zip/compression.h"
#include "zip/zip_layout.h"

namespace tarvola::zip {

namespace {

constexpr std::uint64_t FieldLimit = 0xFFFFFFFF;

// What the compressor hands to the stream at a time.
constexpr std::size_t OutputPiece = 256 * 1024;

TZipEntry EntryOf(const std::string& name, std::uint32_t dosStamp, std::uint32_t crc,
                  std::uint64_t rawSize) {
  TZipEntry entry;
  entry.Name = name;
  entry.DosStamp = dosStamp;
  entry.Crc = crc;
  entry.UnCmp = static_cast<std::uint32_t>(rawSize);
  return entry;
}

}  // namespace

struct TZipEntryWriter::TDeflater {
  z_stream Stream{};
  TDeflater() {
    CheckCompression(deflateInit2(&Stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY));
  }
  ~TDeflater() { deflateEnd(&Stream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
};

TZipEntryWriter::TZipEntryWriter(io::TStream& out, std::string entryName, io::THelperThreads helpers)
    : FOut(out), FName(std::move(entryName)), FDeflater(std::make_unique<TDeflater>()), FOutput(OutputPiece, '\0') {
  WriteLocalHeader(FOut, EntryOf(FName, 0, 0, 0), 0);
  if (helpers == io::THelperThreads::Allowed) FThread = std::thread([this] { Compress(); });
}

TZipEntryWriter::~TZipEntryWriter() { Stop(); }

void TZipEntryWriter::Stop() {
  {
    std::lock_guard lock(FMutex);
    FClosed = true;
  }
  FChanged.notify_all();
  if (FThread.joinable()) FThread.join();
}

void TZipEntryWriter::Write(std::string&& piece) {
  if (!FThread.joinable()) {
    if (FClosed) throw io::EWriteError();
    Deflate(piece, false);
    return;
  }
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [&] { return FQueue.size() < EntryQueueLimit || FFault; });
  if (FFault) std::rethrow_exception(FFault);
  FQueue.push_back(std::move(piece));
  lock.unlock();
  FChanged.notify_all();
}

void TZipEntryWriter::Compress() {
  try {
    for (;;) {
      std::string piece;
      bool last = false;
      {
        std::unique_lock lock(FMutex);
        FChanged.wait(lock, [&] { return !FQueue.empty() || FClosed; });
        if (!FQueue.empty()) {
          piece = std::move(FQueue.front());
          FQueue.pop_front();
        } else {
          last = true;
        }
      }
      FChanged.notify_all();
      Deflate(piece, last);
      if (last) return;
    }
  } catch (...) {
    std::lock_guard lock(FMutex);
    FFault = std::current_exception();
    FQueue.clear();
  }
  FChanged.notify_all();
}

void TZipEntryWriter::Deflate(std::string& piece, bool last) {
  FCrc = static_cast<std::uint32_t>(
      crc32(FCrc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size())));
  FRawSize += piece.size();
  if (piece.empty() && !last) return;
  z_stream& zs = FDeflater->Stream;
  zs.next_in = reinterpret_cast<Bytef*>(piece.data());
  zs.avail_in = static_cast<uInt>(piece.size());
  int status;
  do {
    zs.next_out = reinterpret_cast<Bytef*>(FOutput.data());
    zs.avail_out = static_cast<uInt>(FOutput.size());
    status = deflate(&zs, last ? Z_FINISH : Z_NO_FLUSH);
    // No room to make progress is not an error: the loop gives more output space.
    if (status != Z_BUF_ERROR) CheckCompression(status);
    const std::size_t produced = FOutput.size() - zs.avail_out;
    FOut.WriteBuffer(FOutput.data(), static_cast<std::int64_t>(produced));
    FDeflatedSize += produced;
  } while (zs.avail_out == 0 || (last && status != Z_STREAM_END));
}

bool TZipEntryWriter::Finish(std::uint32_t dosStamp) {
  if (!FThread.joinable() && !FClosed) {
    FClosed = true;
    std::string end;
    Deflate(end, true);
  }
  Stop();
  if (FFault) std::rethrow_exception(FFault);
  const std::uint64_t overhead = 30 + FName.size();
  if (FRawSize > FieldLimit || FDeflatedSize > FieldLimit - overhead) return false;
  const TZipEntry entry = EntryOf(FName, dosStamp, FCrc, FRawSize);
  const auto size = static_cast<std::uint32_t>(FDeflatedSize);
  const std::int64_t end = FOut.Position();
  FOut.SetPosition(0);
  WriteLocalHeader(FOut, entry, size);
  FOut.SetPosition(end);
  WriteCentralDirectory(FOut, entry, size);
  return true;
}

}  // namespace tarvola::zip
