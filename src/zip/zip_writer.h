#pragma once

#include <filesystem>

namespace tarvola::zip {

// Result codes of ZipSingleFile.
inline constexpr int ZipOk = 0;
inline constexpr int ZipCannotOpenSource = 1;
inline constexpr int ZipCompressionFailed = 2;   // no archive file was created
inline constexpr int ZipCannotCreateArchive = 3;

// Packs one file as a one-entry ZIP archive whose entry is named after the file's last
// path component. File-layer errors (EFOpenError, EFCreateError, EWriteError) pass to
// the caller as exceptions.
int ZipSingleFile(const std::filesystem::path& source, const std::filesystem::path& archive);

}  // namespace tarvola::zip
