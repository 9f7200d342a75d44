#include "zip/zip_stream_writer.h"

#include <zlib.h>

#include <new>

#include "zip/compression.h"
#include "zip/zip_layout.h"

namespace tarvola::zip {

namespace {

constexpr std::uint64_t FieldLimit = 0xFFFFFFFF;

struct TDeflater {
  z_stream Stream{};
  TDeflater() {
    CheckCompression(deflateInit2(&Stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY));
  }
  ~TDeflater() { deflateEnd(&Stream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
};

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

TZipEntryWriter::TZipEntryWriter(io::TStream& out, std::string entryName)
    : FOut(out), FName(std::move(entryName)) {
  WriteLocalHeader(FOut, EntryOf(FName, 0, 0, 0), 0);
  FThread = std::thread([this] { Compress(); });
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
  std::unique_lock lock(FMutex);
  FChanged.wait(lock, [&] { return FQueue.size() < EntryQueueLimit || FFault; });
  if (FFault) std::rethrow_exception(FFault);
  FQueue.push_back(std::move(piece));
  lock.unlock();
  FChanged.notify_all();
}

void TZipEntryWriter::Compress() {
  try {
    TDeflater deflater;
    z_stream& zs = deflater.Stream;
    std::string output(256 * 1024, '\0');
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
      FCrc = static_cast<std::uint32_t>(
          crc32(FCrc, reinterpret_cast<const Bytef*>(piece.data()), static_cast<uInt>(piece.size())));
      FRawSize += piece.size();
      if (piece.empty() && !last) continue;
      zs.next_in = reinterpret_cast<Bytef*>(piece.data());
      zs.avail_in = static_cast<uInt>(piece.size());
      int status;
      do {
        zs.next_out = reinterpret_cast<Bytef*>(output.data());
        zs.avail_out = static_cast<uInt>(output.size());
        status = deflate(&zs, last ? Z_FINISH : Z_NO_FLUSH);
        // No room to make progress is not an error: the loop gives more output space.
        if (status != Z_BUF_ERROR) CheckCompression(status);
        const std::size_t produced = output.size() - zs.avail_out;
        FOut.WriteBuffer(output.data(), static_cast<std::int64_t>(produced));
        FDeflatedSize += produced;
      } while (zs.avail_out == 0 || (last && status != Z_STREAM_END));
      if (last) return;
    }
  } catch (...) {
    std::lock_guard lock(FMutex);
    FFault = std::current_exception();
    FQueue.clear();
  }
  FChanged.notify_all();
}

bool TZipEntryWriter::Finish(std::uint32_t dosStamp) {
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
