#include "test_support.h"

#include "io/system_text.h"
#include "product_identity.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tarvola::test {

namespace fs = std::filesystem;

fs::path Utf8Path(std::string_view text) {
  return fs::path(std::u8string_view(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

TTempFolder::TTempFolder() {
  std::random_device seed;
  std::mt19937_64 gen(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("tarvola-test-" + std::to_string(gen()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      FPath = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary test folder");
}

TTempFolder::~TTempFolder() {
  std::error_code ec;
  fs::permissions(FPath, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(FPath, ec);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot create " + path.string());
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<fs::path> KmlSchemaFile() {
  const char* fromEnvironment = std::getenv("TARVOLA_KML_SCHEMA_DIR");
  const fs::path dir = fromEnvironment && *fromEnvironment ? fs::path(fromEnvironment) : fs::path(TARVOLA_KML_SCHEMA_DIR);
  std::error_code ec;
  if (fs::is_regular_file(dir / "kml22gx.xsd", ec)) return dir / "kml22gx.xsd";
  return std::nullopt;
}

std::optional<fs::path> CorpusDir() {
  // The environment wins, so a checkout elsewhere can still point at the samples.
  const char* fromEnvironment = std::getenv("TARVOLA_CORPUS_DIR");
  fs::path dir = fromEnvironment && *fromEnvironment ? fs::path(fromEnvironment) : fs::path(TARVOLA_CORPUS_DIR);
  std::error_code ec;
  if (fs::is_directory(dir / "gpx", ec)) return fs::canonical(dir, ec);
  return std::nullopt;
}

fs::path SourceDir() { return TARVOLA_SOURCE_DIR; }

std::string MissingFileReason() {
#ifdef _WIN32
  return io::SystemErrorText(ERROR_FILE_NOT_FOUND);
#else
  return io::SystemErrorText(ENOENT);
#endif
}

std::string BuildNumber(int offset) {
  std::string number = std::to_string(std::stoi(std::string(product::Build)) + offset);
  return std::string(number.size() < 6 ? 6 - number.size() : 0, '0') + number;
}

bool RunningUnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace tarvola::test
