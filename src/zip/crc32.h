#pragma once

#include <array>
#include <cstdint>

#include "io/stream.h"

namespace tarvola::zip {

// The CRC-32 of ZIP (reflected polynomial 0xEDB88320), the value zlib's crc32 gives.
// The functions taking a register work on it raw: no initial value, no final inversion.

using TCrcTable = std::array<std::uint32_t, 256>;

TCrcTable BuildCrcTable();
// Filled once before first use and read-only afterwards.
const TCrcTable& CrcTable();

std::uint32_t UpdateCrc32(const void* bytes, std::int32_t length, std::uint32_t crc);

// Folds count bytes from the stream's position (the rest of the stream when count < 0) into the
// register, reading whole chunks. A stream that ends before the count is met (a file shortened
// while it is read) raises EReadError: a checksum of fewer bytes than counted would be wrong.
std::uint32_t StreamCrc32(io::TStream& stream, std::uint32_t crc, std::int32_t chunkSize, std::int64_t count);

// The finished CRC-32 from the stream's position to its end.
std::uint32_t FileCrc32(io::TStream& stream);

}  // namespace tarvola::zip
