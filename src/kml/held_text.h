#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "io/file_stream.h"
#include "kml_writer.h"

namespace tarvola::kml {

// The held text's file could not be created, written or read: the message names the folder and
// gives the system's reason.
class EHeldTextError : public io::EStreamError {
  using io::EStreamError::EStreamError;
};

// How much held text stays in memory before the rest goes to a file.
inline constexpr std::size_t HeldMemoryLimit = 1u << 20;

// Text written ahead of its place in a document: kept in memory up to a limit, the rest in an
// unnamed file in `folder` (the system's temporary folder by default), so that one long track
// costs no more memory than a short one. A file that cannot be created, written or read raises
// EHeldTextError.
class THeldText : public TKmlSink {
public:
  explicit THeldText(std::size_t memoryLimit = HeldMemoryLimit, std::filesystem::path folder = {})
      : FLimit(memoryLimit), FFolder(std::move(folder)) {}

  void Write(std::string& text) override;
  void Restart() override { Clear(); }
  std::uint64_t Size() const { return FFileSize + FMemory.size(); }
  bool Empty() const { return Size() == 0; }
  // Forgets the text; the file is kept for the next text, which overwrites it.
  void Clear();

  // Appends the bytes [begin, end) to `writer`, draining it into `sink` piece by piece.
  void CopyTo(TKmlWriter& writer, TKmlSink& sink, std::uint64_t begin, std::uint64_t end);

private:
  void Spill(const std::string& text);
  [[noreturn]] void RaiseFolderError(const std::string& reason) const;

  std::size_t FLimit;
  std::filesystem::path FFolder;
  std::string FMemory;  // what follows the file's bytes
  std::optional<io::TFileStream> FFile;
  std::uint64_t FFileSize = 0;  // the file's bytes that belong to the text; the rest is stale
};

}  // namespace tarvola::kml
