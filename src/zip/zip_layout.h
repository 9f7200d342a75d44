#pragma once

#include <cstdint>
#include <string>

#include "io/stream.h"

namespace tarvola::zip {

// The three ZIP records, written field by field, little-endian, without padding.

struct TZipLFH {
  std::uint32_t Signature = 0x04034B50;
  std::uint16_t VerNeed = 20;
  std::uint16_t GenFlag = 0;
  std::uint16_t Method = 8;
  std::uint16_t Time = 0;
  std::uint16_t Date = 0;
  std::uint32_t Crc = 0;
  std::uint32_t Size = 0;
  std::uint32_t UnCmp = 0;
  std::uint16_t FnamLen = 0;
  std::uint16_t XtraLen = 0;
  std::string FileName;
};

struct TZipCFH {
  std::uint32_t Signature = 0x02014B50;
  std::uint8_t VerMade = 0;  // 0.0 on MS-DOS, so ExtAttr holds MS-DOS attributes
  std::uint8_t Os = 0;
  std::uint8_t VerNeed = 20;
  std::uint8_t OsVerNeed = 0;
  std::uint16_t GenFlag = 0;
  std::uint16_t Method = 8;
  std::uint16_t Time = 0;
  std::uint16_t Date = 0;
  std::uint32_t Crc = 0;
  std::uint32_t Size = 0;
  std::uint32_t UnCmp = 0;
  std::uint16_t FnamLen = 0;
  std::uint16_t XtraLen = 0;
  std::uint16_t CmtLen = 0;
  std::uint16_t DiskSta = 0;
  std::uint16_t IntAttr = 1;         // text
  std::uint32_t ExtAttr = 0x20;      // archive
  std::uint32_t Ofst = 0;
  std::string FileName;
  std::string Cmt;
};

struct TZipECD {
  std::uint32_t Signature = 0x06054B50;
  std::uint16_t Disk = 0;
  std::uint16_t CenDisk = 0;
  std::uint16_t EntryNumDisk = 1;
  std::uint16_t EntryNumCen = 1;
  std::uint32_t CenSize = 0;
  std::uint32_t Ofst = 0;
  std::uint16_t CmtLen = 0;
  std::string Cmt;
};

void WriteRecord(io::TStream& out, const TZipLFH& record);
void WriteRecord(io::TStream& out, const TZipCFH& record);
void WriteRecord(io::TStream& out, const TZipECD& record);

// What an archive of one deflated entry needs besides the data.
struct TZipEntry {
  std::string Name;            // bytes as stored, at most 65535
  std::uint32_t DosStamp = 0;  // date high, time low
  std::uint32_t Crc = 0;
  std::uint32_t UnCmp = 0;
};

// The local header of the one entry, at the stream's position (the start of the archive).
void WriteLocalHeader(io::TStream& out, const TZipEntry& entry, std::uint32_t deflatedSize);
// The central directory and its end record, at the stream's position, right after the data.
void WriteCentralDirectory(io::TStream& out, const TZipEntry& entry, std::uint32_t deflatedSize);

}  // namespace tarvola::zip
