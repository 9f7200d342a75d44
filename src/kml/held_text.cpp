#include "kml/held_text.h"

#include <algorithm>
#include <cerrno>

#include "io/stream.h"

namespace tarvola::kml {

namespace {

constexpr std::size_t CopyPiece = 1u << 20;

}  // namespace

void THeldText::Write(std::string& text) {
  FMemory.append(text);
  if (FMemory.size() <= FLimit) return;
  if (!FFile) {
    FFile.reset(std::tmpfile());
    // Without a temporary file the text stays in memory: slower to fail than to convert.
    if (!FFile) return;
  }
  if (std::fseek(FFile.get(), 0, SEEK_END) != 0 ||
      std::fwrite(FMemory.data(), 1, FMemory.size(), FFile.get()) != FMemory.size())
    throw io::EWriteError(errno);
  FFileSize += FMemory.size();
  FMemory.clear();
}

void THeldText::Clear() {
  FMemory.clear();
  FFileSize = 0;
  if (FFile) std::rewind(FFile.get());
}

void THeldText::CopyTo(TKmlWriter& writer, TKmlSink& sink, std::uint64_t begin,
                       std::uint64_t end) {
  std::string piece;
  if (begin < FFileSize) {
    if (std::fseek(FFile.get(), static_cast<long>(begin), SEEK_SET) != 0)
      throw io::EReadError("Stream read error");
    while (begin < std::min(end, FFileSize)) {
      piece.resize(static_cast<std::size_t>(std::min<std::uint64_t>(CopyPiece, std::min(end, FFileSize) - begin)));
      if (std::fread(piece.data(), 1, piece.size(), FFile.get()) != piece.size())
        throw io::EReadError("Stream read error");
      writer.AppendRaw(piece);
      if (writer.Pending() >= CopyPiece) writer.Drain(sink);
      begin += piece.size();
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
