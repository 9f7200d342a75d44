#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "kml_writer.h"

namespace tarvola::kml {

// Text written ahead of its place in a document: kept in memory up to a limit, the rest in an
// unnamed temporary file, so that one long track costs no more memory than a short one.
class THeldText : public TKmlSink {
public:
  explicit THeldText(std::size_t memoryLimit = 1u << 20) : FLimit(memoryLimit) {}

  void Write(std::string& text) override;
  std::uint64_t Size() const { return FFileSize + FMemory.size(); }
  bool Empty() const { return Size() == 0; }
  void Clear();

  // Appends the bytes [begin, end) to `writer`, draining it into `sink` piece by piece.
  void CopyTo(TKmlWriter& writer, TKmlSink& sink, std::uint64_t begin, std::uint64_t end);

private:
  struct TFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::size_t FLimit;
  std::string FMemory;  // what follows the file's bytes
  std::unique_ptr<std::FILE, TFileCloser> FFile;
  std::uint64_t FFileSize = 0;
};

}  // namespace tarvola::kml
