#pragma once

#include <filesystem>

#include "io/result.h"
#include "io/stream.h"

namespace tarvola::zip {

// Result codes of ZipSingleFile.
inline constexpr int ZipOk = 0;
inline constexpr int ZipCannotOpenSource = 1;
inline constexpr int ZipCompressionFailed = 2;   // no archive file was created
inline constexpr int ZipCannotCreateArchive = 3;

// One of the codes above, the file packed, and on failure why it could not be.
using TZipResult = io::TResult<int>;

// Packs one file as a one-entry ZIP archive whose entry is named after the file's last
// path component (see EntryNameOf). A source of 4 GiB or more does not fit the 32-bit ZIP
// fields and gives ZipCompressionFailed, as does one that changes while it is packed.
// File-layer errors (EFOpenError, EFCreateError, EWriteError, EReadError) pass to the caller
// as exceptions; after a failed write the partly written archive stays on disk.
TZipResult ZipSingleFile(const std::filesystem::path& source, const std::filesystem::path& archive);

// The same into a stream the caller opened, empty and at position 0. Gives ZipOk or
// ZipCompressionFailed (nothing written then); write errors pass as exceptions.
TZipResult ZipSingleFileInto(const std::filesystem::path& source, io::TStream& archive);

// Deflates the whole source (from position 0) into `target`, raw. Leaves the target at 0.
// False on any error while compressing, the stream's own errors included.
bool CompressToMemory(io::TStream& source, io::TMemoryStream& target);

}  // namespace tarvola::zip
