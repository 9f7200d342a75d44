#include "kml/held_text.h"

#include <algorithm>
#include <system_error>

#include "io/system_text.h"
#include "kml/save_workflow.h"

namespace tarvola::kml {

namespace {

constexpr std::size_t CopyPiece = 1u << 20;

}  // namespace

void THeldText::Write(std::string& text) {
  if (FMemory.size() + text.size() <= FLimit) {
    FMemory.append(text);
    return;
  }
  Spill(FMemory);
  Spill(text);
  FMemory.clear();
}

// Appends `text` to the file, which follows the text already there.
void THeldText::Spill(const std::string& text) {
  if (FFolder.empty()) {
    std::error_code ec;
    FFolder = io::SystemTemporaryFolder(ec);
    if (ec) RaiseFolderError(ec.message());
  }
  try {
    if (!FFile) FFile.emplace(FFolder, io::TFileMode::Temporary);
    // At the end of this text, not of the file: a cleared text leaves stale bytes behind it.
    FFile->SetPosition(static_cast<std::int64_t>(FFileSize));
    FFile->WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  } catch (const io::EStreamError& error) {
    RaiseFolderError(FailureReason(error));
  }
  FFileSize += text.size();
}

void THeldText::RaiseFolderError(const std::string& reason) const {
  const std::filesystem::path folder = FFolder.has_filename() ? FFolder : FFolder.parent_path();
  throw EHeldTextError("cannot write to the temporary folder " + io::PathText(folder) + ": " + reason);
}

void THeldText::Clear() {
  FMemory.clear();
  FFileSize = 0;
}

void THeldText::CopyTo(TKmlWriter& writer, TKmlSink& sink, std::uint64_t begin, std::uint64_t end) {
  std::string piece;
  const std::uint64_t fileEnd = std::min(end, FFileSize);
  if (begin < fileEnd) {
    try {
      FFile->SetPosition(static_cast<std::int64_t>(begin));
      while (begin < fileEnd) {
        piece.resize(static_cast<std::size_t>(std::min<std::uint64_t>(CopyPiece, fileEnd - begin)));
        FFile->ReadBuffer(piece.data(), static_cast<std::int64_t>(piece.size()));
        writer.AppendRaw(piece);
        if (writer.Pending() >= CopyPiece) writer.Drain(sink);
        begin += piece.size();
      }
    } catch (const io::EReadError& error) {
      RaiseFolderError(FailureReason(error));
    }
  }
  while (begin < end) {
    const std::size_t at = static_cast<std::size_t>(begin - FFileSize);
    const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(CopyPiece, end - begin));
    writer.AppendRaw(std::string_view(FMemory).substr(at, length));
    if (writer.Pending() >= CopyPiece) writer.Drain(sink);
    begin += length;
  }
}

}  // namespace tarvola::kml
