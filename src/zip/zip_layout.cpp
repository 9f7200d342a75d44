#include "zip/zip_layout.h"

#include <vector>

namespace tarvola::zip {

namespace {

class TFieldWriter {
public:
  template <typename T>
  TFieldWriter& operator<<(T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) FBytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
  }
  TFieldWriter& operator<<(const std::string& text) {
    FBytes.insert(FBytes.end(), text.begin(), text.end());
    return *this;
  }
  void WriteTo(io::TStream& out) const { out.WriteBuffer(FBytes.data(), static_cast<std::int64_t>(FBytes.size())); }

private:
  std::vector<char> FBytes;
};

// The fields the local and the central header of an entry share.
template <typename THeader>
THeader EntryHeader(const TZipEntry& entry, std::uint32_t size) {
  THeader header;
  header.Time = static_cast<std::uint16_t>(entry.DosStamp & 0xFFFF);
  header.Date = static_cast<std::uint16_t>(entry.DosStamp >> 16);
  header.Crc = entry.Crc;
  header.Size = size;
  header.UnCmp = entry.UnCmp;
  header.FnamLen = static_cast<std::uint16_t>(entry.Name.size());
  header.FileName = entry.Name;
  return header;
}

}  // namespace

void WriteRecord(io::TStream& out, const TZipLFH& r) {
  TFieldWriter w;
  w << r.Signature << r.VerNeed << r.GenFlag << r.Method << r.Time << r.Date << r.Crc << r.Size << r.UnCmp
    << r.FnamLen << r.XtraLen << r.FileName;
  w.WriteTo(out);
}

void WriteRecord(io::TStream& out, const TZipCFH& r) {
  TFieldWriter w;
  w << r.Signature << r.VerMade << r.Os << r.VerNeed << r.OsVerNeed << r.GenFlag << r.Method << r.Time << r.Date
    << r.Crc << r.Size << r.UnCmp << r.FnamLen << r.XtraLen << r.CmtLen << r.DiskSta << r.IntAttr << r.ExtAttr
    << r.Ofst << r.FileName << r.Cmt;
  w.WriteTo(out);
}

void WriteRecord(io::TStream& out, const TZipECD& r) {
  TFieldWriter w;
  w << r.Signature << r.Disk << r.CenDisk << r.EntryNumDisk << r.EntryNumCen << r.CenSize << r.Ofst << r.CmtLen
    << r.Cmt;
  w.WriteTo(out);
}

void WriteLocalHeader(io::TStream& out, const TZipEntry& entry, std::uint32_t deflatedSize) {
  WriteRecord(out, EntryHeader<TZipLFH>(entry, deflatedSize));
}

void WriteCentralDirectory(io::TStream& out, const TZipEntry& entry, std::uint32_t deflatedSize) {
  const TZipCFH central = EntryHeader<TZipCFH>(entry, deflatedSize);
  const std::int64_t centralStart = out.Position();
  WriteRecord(out, central);

  TZipECD end;
  end.CenSize = 46 + central.FnamLen + central.CmtLen;
  end.Ofst = static_cast<std::uint32_t>(centralStart);
  WriteRecord(out, end);
}

}  // namespace tarvola::zip
