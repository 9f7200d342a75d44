#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvola::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path File(std::string_view name) const { return FPath / std::filesystem::path(name); }

private:
  std::filesystem::path FPath;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// The folder of third-party sample files (holding gpx/ and MANIFEST.md), when it is present.
std::optional<std::filesystem::path> CorpusDir();

// The root of the source tree (for examples/ and fixtures kept beside the tests).
std::filesystem::path SourceDir();

}  // namespace tarvola::test
