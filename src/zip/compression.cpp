#include "zip/compression.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

namespace tarvola::zip {

namespace {

constexpr std::int64_t BufferSize = 65536;

int ZlibLevel(TCompressionLevel level) {
  switch (level) {
    case TCompressionLevel::LevelNone: return 0;
    case TCompressionLevel::LevelFastest: return 1;
    case TCompressionLevel::LevelDefault: return -1;
    case TCompressionLevel::LevelMax: return 9;
  }
  return -1;
}

int WindowBits(TStreamFormat format) {
  switch (format) {
    case TStreamFormat::ZlibFormat: return 15;
    case TStreamFormat::GzipFormat: return 31;
    case TStreamFormat::RawDeflate: return -15;
  }
  return 15;
}

// deflateEnd on every way out; its result is checked only on the normal one.
struct TDeflateGuard {
  z_stream& Stream;
  bool Ended = false;
  ~TDeflateGuard() {
    if (!Ended) deflateEnd(&Stream);
  }
  void End() {
    Ended = true;
    CheckCompression(deflateEnd(&Stream));
  }
};

class TInputSide {
public:
  TInputSide(io::TStream& source, z_stream& zs) : FSource(source), FZs(zs), FMemory(dynamic_cast<io::TMemoryStream*>(&source)) {
    if (FMemory != nullptr) {
      FStart = FMemory->Position();
      const std::int64_t pending = std::max<std::int64_t>(FMemory->Size() - FStart, 0);
      FZs.next_in = reinterpret_cast<Bytef*>(FMemory->Memory()) + FStart;
      FZs.avail_in = static_cast<uInt>(std::min<std::int64_t>(pending, UINT32_MAX));
      FLeft = pending - FZs.avail_in;
    } else {
      FBuffer = std::make_unique<Bytef[]>(BufferSize);
    }
  }

  // Gives the compressor more input when it has none; false when the source is used up.
  bool Refill() {
    if (FZs.avail_in > 0) return true;
    if (FBuffer) {
      FZs.next_in = FBuffer.get();
      FZs.avail_in = static_cast<uInt>(FSource.Read(FBuffer.get(), BufferSize));
    } else if (FLeft > 0) {
      FZs.avail_in = static_cast<uInt>(std::min<std::int64_t>(FLeft, UINT32_MAX));
      FLeft -= FZs.avail_in;
    }
    return FZs.avail_in > 0;
  }

  void Reposition() {
    if (FBuffer)
      FSource.Seek(-static_cast<std::int64_t>(FZs.avail_in), io::TSeekOrigin::Current);
    else
      FMemory->SetPosition(FStart + static_cast<std::int64_t>(FZs.total_in));
  }

private:
  io::TStream& FSource;
  z_stream& FZs;
  io::TMemoryStream* FMemory;
  std::unique_ptr<Bytef[]> FBuffer;
  std::int64_t FStart = 0;
  std::int64_t FLeft = 0;  // in-place input beyond what one avail_in can say
};

class TOutputSide {
public:
  TOutputSide(io::TStream& target, z_stream& zs, bool directOutput)
      : FTarget(target), FZs(zs), FMemory(directOutput ? dynamic_cast<io::TMemoryStream*>(&target) : nullptr) {
    if (FMemory == nullptr) FBuffer = std::make_unique<Bytef[]>(BufferSize);
  }

  // Hands the bytes produced since the last call to the target and gives the compressor space.
  void MakeRoom() {
    const std::int64_t produced = FHanded - FZs.avail_out;
    if (FBuffer) {
      FTarget.WriteBuffer(FBuffer.get(), produced);
      FZs.next_out = FBuffer.get();
      FZs.avail_out = static_cast<uInt>(BufferSize);
      FHanded = BufferSize;
      return;
    }
    FMemory->Seek(produced, io::TSeekOrigin::Current);
    if (FZs.avail_out == 0) {
      FMemory->SetSize(std::max(FMemory->Size(), FMemory->Position()) + BufferSize);
      FMemory->SetSize(FMemory->Capacity());
    }
    const std::int64_t space = std::min<std::int64_t>(FMemory->Size() - FMemory->Position(), UINT32_MAX);
    FZs.next_out = reinterpret_cast<Bytef*>(FMemory->Memory()) + FMemory->Position();
    FZs.avail_out = static_cast<uInt>(space);
    FHanded = space;
  }

  void Finish() {
    if (FMemory != nullptr) FMemory->SetSize(FMemory->Position());
  }

private:
  io::TStream& FTarget;
  z_stream& FZs;
  io::TMemoryStream* FMemory;
  std::unique_ptr<Bytef[]> FBuffer;
  std::int64_t FHanded = 0;
};

}  // namespace

std::string CompressionErrorText(int code) {
  switch (code) {
    case Z_OK: return "No error";
    case Z_STREAM_END: return "Stream end";
    case Z_NEED_DICT: return "Need dictionary";
    case Z_ERRNO: return "Errno";
    case Z_STREAM_ERROR: return "Stream error";
    case Z_DATA_ERROR: return "Data error";
    case Z_MEM_ERROR: return "Memory error";
    case Z_BUF_ERROR: return "Buffer error";
    case Z_VERSION_ERROR: return "Version error";
    default: return "Unknown error " + std::to_string(code);
  }
}

int CheckCompression(int code) {
  if (code < 0) throw ECompressionError(CompressionErrorText(code));
  return code;
}

void CompressStream(io::TStream& source, io::TStream& target, TCompressionLevel level, bool directOutput,
                    TStreamFormat format) {
  z_stream zs{};
  TInputSide input(source, zs);
  TOutputSide output(target, zs, directOutput);
  CheckCompression(deflateInit2(&zs, ZlibLevel(level), Z_DEFLATED, WindowBits(format), 9, Z_DEFAULT_STRATEGY));
  TDeflateGuard guard{zs};
  while (input.Refill()) {
    if (zs.avail_out == 0) output.MakeRoom();
    CheckCompression(deflate(&zs, Z_NO_FLUSH));
  }
  int result = Z_OK;
  do {
    if (zs.avail_out == 0) output.MakeRoom();
    result = CheckCompression(deflate(&zs, Z_FINISH));
    output.MakeRoom();
  } while (result != Z_STREAM_END);
  output.Finish();
  input.Reposition();
  guard.End();
}

}  // namespace tarvola::zip
