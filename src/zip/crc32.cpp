#include "zip/crc32.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tarvola::zip {

namespace {

// Eight tables let the loop take eight bytes per step; the first is CrcTable itself, so it is
// still one look-up per byte, without the dependency chain of the byte-wise loop.
using TSliceTables = std::array<TCrcTable, 8>;

constexpr TCrcTable ComputeCrcTable() {
  TCrcTable table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) != 0 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr TSliceTables ComputeSliceTables() {
  TSliceTables tables{};
  tables[0] = ComputeCrcTable();
  for (std::size_t k = 1; k < tables.size(); ++k)
    for (std::size_t i = 0; i < 256; ++i)
      tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
  return tables;
}

constexpr TSliceTables SliceTables = ComputeSliceTables();

std::uint32_t LoadLittle32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

TCrcTable BuildCrcTable() { return ComputeCrcTable(); }

const TCrcTable& CrcTable() { return SliceTables[0]; }

std::uint32_t UpdateCrc32(const void* bytes, std::int32_t length, std::uint32_t crc) {
  if (length <= 0) return crc;
  const auto* p = static_cast<const unsigned char*>(bytes);
  const auto& t = SliceTables;
  std::size_t n = static_cast<std::size_t>(length);
  for (; n >= 8; n -= 8, p += 8) {
    const std::uint32_t low = LoadLittle32(p) ^ crc;
    const std::uint32_t high = LoadLittle32(p + 4);
    crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
          t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
  }
  for (; n > 0; --n, ++p) crc = t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return crc;
}

std::uint32_t StreamCrc32(io::TStream& stream, std::uint32_t crc, std::int32_t chunkSize, std::int64_t count) {
  if (count < 0) count = stream.Size() - stream.Position();
  chunkSize = std::max<std::int32_t>(chunkSize, 1);
  std::vector<unsigned char> buffer(static_cast<std::size_t>(chunkSize));
  do {
    const std::int64_t got = stream.Read(buffer.data(), chunkSize);
    const std::int64_t n = std::min(got, count);
    crc = UpdateCrc32(buffer.data(), static_cast<std::int32_t>(n), crc);
    count -= n;
    if (got == 0 && count > 0) throw io::EReadError("Stream read error");
  } while (count > 0);
  return crc;
}

std::uint32_t FileCrc32(io::TStream& stream) { return ~StreamCrc32(stream, 0xFFFFFFFFu, 4096, -1); }

}  // namespace tarvola::zip
