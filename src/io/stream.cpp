#include "io/stream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace tarvola::io {

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError();
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count < 0) count = source.Size() - source.Position();
  constexpr std::int64_t ChunkSize = 65536;
  std::vector<std::byte> buffer(static_cast<std::size_t>(std::clamp<std::int64_t>(count, 1, ChunkSize)));
  for (std::int64_t left = count; left > 0;) {
    const std::int64_t n = std::min<std::int64_t>(left, static_cast<std::int64_t>(buffer.size()));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return count;
}

void TMemoryStream::TFree::operator()(std::byte* memory) const { std::free(memory); }

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(FSize - FPosition, 0, std::max<std::int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, FMemory.get() + FPosition, static_cast<std::size_t>(n));
  FPosition += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  const std::int64_t end = FPosition + count;
  if (end > FSize) SetSize(end);
  std::memcpy(FMemory.get() + FPosition, buffer, static_cast<std::size_t>(count));
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = FPosition;
  if (origin == TSeekOrigin::End) base = FSize;
  FPosition = std::max<std::int64_t>(base + offset, 0);
  return FPosition;
}

void TMemoryStream::SetSize(std::int64_t size) {
  size = std::max<std::int64_t>(size, 0);
  if (size > FCapacity) Reserve(size);
  // Bytes that come into view hold zeros, not what the allocator left there.
  if (size > FSize) std::memset(FMemory.get() + FSize, 0, static_cast<std::size_t>(size - FSize));
  FSize = size;
  FPosition = std::min(FPosition, FSize);
}

// Growing by a fixed step would copy the whole block each time: a large target then costs
// quadratic time. Grow by half the current block at least, in 64 KiB units.
void TMemoryStream::Reserve(std::int64_t capacity) {
  constexpr std::int64_t Unit = 65536;
  capacity = std::max(capacity, FCapacity + FCapacity / 2);
  capacity = (capacity + Unit - 1) / Unit * Unit;
  void* grown = std::realloc(FMemory.get(), static_cast<std::size_t>(capacity));
  if (grown == nullptr) throw std::bad_alloc();
  (void)FMemory.release();
  FMemory.reset(static_cast<std::byte*>(grown));
  FCapacity = capacity;
}

}  // namespace tarvola::io
