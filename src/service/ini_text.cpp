#include "service/ini_text.h"

namespace tarvola::service {

namespace {

constexpr std::string_view Blanks = " \t\v\f";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(Blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// A ";" that follows white space starts a comment, as in "value ; note".
std::string_view WithoutInlineComment(std::string_view value) {
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (value[i] == ';' && Blanks.find(value[i - 1]) != std::string_view::npos) return value.substr(0, i);
  }
  return value;
}

}  // namespace

void ParseIniText(std::string_view text, const TIniValueHandler& onValue) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::string_view section;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) section = Trimmed(line.substr(1, close - 1));
      continue;
    }
    const std::size_t separator = line.find_first_of("=:");
    if (separator == std::string_view::npos || separator == 0) continue;
    onValue(section, Trimmed(line.substr(0, separator)), Trimmed(WithoutInlineComment(line.substr(separator + 1))));
  }
}

}  // namespace tarvola::service
