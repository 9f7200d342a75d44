#include "zip/zip_writer.h"

#include <new>
#include <optional>

#include "zip/compression.h"
#include "zip/crc32.h"
#include "zip/dos_time.h"
#include "zip/entry_name.h"
#include "io/file_stream.h"
#include "zip/zip_layout.h"

namespace tarvola::zip {

namespace {

constexpr std::int64_t FieldLimit = 0xFFFFFFFF;

struct TPackedSource {
  TZipEntry Entry;
  io::TMemoryStream Deflated;
};

// Compresses and checksums the source; nothing when it cannot be described by the ZIP fields.
std::optional<TPackedSource> PackSource(const std::filesystem::path& path, io::TFileStream& source) {
  TPackedSource packed;
  packed.Entry.Name = EntryNameOf(path);
  if (source.Size() > FieldLimit || packed.Entry.Name.size() > 0xFFFF) return std::nullopt;
  if (!CompressToMemory(source, packed.Deflated)) return std::nullopt;
  const std::int64_t size = source.Size();
  // A file that grew or shrank while it was compressed would get sizes that do not match its data.
  if (source.Position() != size || size > FieldLimit) return std::nullopt;
  const std::int64_t overhead = 30 + static_cast<std::int64_t>(packed.Entry.Name.size());
  if (packed.Deflated.Size() > FieldLimit - overhead) return std::nullopt;
  packed.Entry.UnCmp = static_cast<std::uint32_t>(size);
  source.SetPosition(0);
  packed.Entry.Crc = FileCrc32(source);
  return packed;
}

// The source is closed again before anything is written.
std::optional<TPackedSource> PackFile(const std::filesystem::path& path) {
  std::optional<TPackedSource> packed;
  {
    io::TFileStream source(path, io::TFileMode::OpenRead);
    packed = PackSource(path, source);
  }
  if (packed) packed->Entry.DosStamp = DateTimeToDosStamp(FileModifiedStamp(path));
  return packed;
}

}  // namespace

bool CompressToMemory(io::TStream& source, io::TMemoryStream& target) {
  bool done = false;
  try {
    source.SetPosition(0);
    CompressStream(source, target, TCompressionLevel::LevelDefault, true, TStreamFormat::RawDeflate);
    done = true;
  } catch (const EZlibError&) {
  } catch (const io::EStreamError&) {
  } catch (const std::bad_alloc&) {
  }
  target.SetPosition(0);
  return done;
}

int ZipSingleFile(const std::filesystem::path& source, const std::filesystem::path& archive) {
  const std::optional<TPackedSource> packed = PackFile(source);
  if (!packed) return ZipCompressionFailed;
  io::TFileStream output(archive, io::TFileMode::Create);
  WriteSingleEntryArchive(output, packed->Entry, packed->Deflated);
  output.Close();
  return ZipOk;
}

int ZipSingleFileInto(const std::filesystem::path& source, io::TStream& archive) {
  const std::optional<TPackedSource> packed = PackFile(source);
  if (!packed) return ZipCompressionFailed;
  WriteSingleEntryArchive(archive, packed->Entry, packed->Deflated);
  return ZipOk;
}

}  // namespace tarvola::zip
