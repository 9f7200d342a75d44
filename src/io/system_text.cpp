#include "io/system_text.h"

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "io/file_stream.h"

namespace tarvola::io {

namespace {

std::string AbsoluteText(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return PathText(ec ? path : absolute);
}

}  // namespace

std::filesystem::path SystemTemporaryFolder(std::error_code& ec) {
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (!ec) return folder;
  for (const char* name : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != 0) return PathFromText(value);
  }
  return "/tmp";
}

std::filesystem::path PathFromText(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string SystemErrorText(const std::error_code& code) {
  // Windows' codes need its own words in UTF-8; errno values are the C library's alike everywhere.
  if (code.category() == std::system_category()) return SystemErrorText(code.value());
  return code.message();
}

std::error_code LastCrtError() {
  return errno != 0 ? std::error_code(errno, std::generic_category()) : std::make_error_code(std::errc::io_error);
}

std::string FileErrorText(std::string_view lead, const std::filesystem::path& path, int code) {
  std::string text(lead);
  text += " \"" + AbsoluteText(path) + "\". " + SystemErrorText(code);
  return text;
}

}  // namespace tarvola::io
