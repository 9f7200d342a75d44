#include "io/system_text.h"

#include <system_error>

namespace tarvola::io {

namespace {

std::string AbsoluteText(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return PathText(ec ? path : absolute);
}

}  // namespace

std::filesystem::path PathFromText(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string FileErrorText(std::string_view lead, const std::filesystem::path& path, int code) {
  std::string text(lead);
  text += " \"" + AbsoluteText(path) + "\". " + SystemErrorText(code);
  return text;
}

}  // namespace tarvola::io
