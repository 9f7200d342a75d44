#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvola::test {

// A path from UTF-8 text, as the tests write names. A plain char string would be read in the
// ANSI code page on Windows; on POSIX the bytes stay as they are.
std::filesystem::path Utf8Path(std::string_view text);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TTempFolder {
public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::filesystem::path File(std::string_view name) const { return FPath / Utf8Path(name); }

private:
  std::filesystem::path FPath;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

// The folder of third-party sample files (holding gpx/ and MANIFEST.md), when it is present.
std::optional<std::filesystem::path> CorpusDir();

// Google's KML 2.2 extension schema, which imports the OGC one beside it, when it is present.
std::optional<std::filesystem::path> KmlSchemaFile();

// The root of the source tree (for examples/ and fixtures kept beside the tests).
std::filesystem::path SourceDir();
// Whether the test runs under Wine, whose font metrics are not those of Windows.
bool RunningUnderWine();
// The system's words for a file that does not exist, as the messages give them.
std::string MissingFileReason();
// The build number `offset` away from this release's, six digits as the service writes it.
std::string BuildNumber(int offset = 0);

// Names each case of a parameterized test after its row's Name.
struct TRowName {
  template <class TRow>
  std::string operator()(const testing::TestParamInfo<TRow>& row) const {
    return std::string(row.param.Name);
  }
};

}  // namespace tarvola::test
