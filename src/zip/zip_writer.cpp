#include "zip/zip_writer.h"

#include <new>
#include <string>

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

constexpr const char* TooLarge = "4 GiB or more does not fit a ZIP archive";

// Compresses and checksums the source; on failure why it cannot be described by the ZIP fields.
std::string PackSource(const std::filesystem::path& path, io::TFileStream& source, TPackedSource& packed) {
  packed.Entry.Name = EntryNameOf(path);
  if (source.Size() > FieldLimit) return TooLarge;
  if (packed.Entry.Name.size() > 0xFFFF) return "the name is too long for a ZIP archive";
  if (!CompressToMemory(source, packed.Deflated)) return "the file could not be compressed";
  const std::int64_t size = source.Size();
  // A file that grew or shrank while it was compressed would get sizes that do not match its data.
  if (source.Position() != size) return "the file changed while it was compressed";
  const std::int64_t overhead = 30 + static_cast<std::int64_t>(packed.Entry.Name.size());
  if (size > FieldLimit || packed.Deflated.Size() > FieldLimit - overhead) return TooLarge;
  packed.Entry.UnCmp = static_cast<std::uint32_t>(size);
  source.SetPosition(0);
  packed.Entry.Crc = FileCrc32(source);
  return {};
}

// The source is closed again before anything is written.
TZipResult PackFile(const std::filesystem::path& path, TPackedSource& packed) {
  std::string failure;
  {
    io::TFileStream source(path, io::TFileMode::OpenRead);
    failure = PackSource(path, source, packed);
  }
  if (!failure.empty()) return {ZipCompressionFailed, path, std::move(failure)};
  packed.Entry.DosStamp = DateTimeToDosStamp(FileModifiedStamp(path));
  return {ZipOk, path, {}};
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

TZipResult ZipSingleFile(const std::filesystem::path& source, const std::filesystem::path& archive) {
  TPackedSource packed;
  TZipResult result = PackFile(source, packed);
  if (result.Code != ZipOk) return result;
  io::TFileStream output(archive, io::TFileMode::Create);
  WriteSingleEntryArchive(output, packed.Entry, packed.Deflated);
  output.Close();
  return result;
}

TZipResult ZipSingleFileInto(const std::filesystem::path& source, io::TStream& archive) {
  TPackedSource packed;
  TZipResult result = PackFile(source, packed);
  if (result.Code == ZipOk) WriteSingleEntryArchive(archive, packed.Entry, packed.Deflated);
  return result;
}

}  // namespace tarvola::zip
