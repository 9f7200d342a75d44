#include "desktop/safe_url.h"

namespace tarvola::desktop {

namespace {

bool IsAsciiSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsUnreservedOrReserved(char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  static constexpr std::string_view allowed = "-._~:/?#[]@!$&'()*+,;=";
  return allowed.find(c) != std::string_view::npos;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsAsciiSpaceOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsAsciiSpaceOrControl(s.back())) s.remove_suffix(1);
  return s;
}

bool HasWebScheme(std::string_view s) {
  std::string head;
  for (char c : s.substr(0, 8)) head += Lower(c);
  std::string_view rest;
  if (head.starts_with("http://")) rest = s.substr(7);
  else if (head.starts_with("https://")) rest = s.substr(8);
  else return false;
  return !rest.empty() && rest.front() != '/';
}

}  // namespace

std::optional<std::string> SafeWebAddress(std::string_view address) {
  std::string_view s = Trimmed(address);
  if (!HasWebScheme(s)) return std::nullopt;
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    bool escape = c == '%' && i + 2 < s.size() && IsHexDigit(s[i + 1]) && IsHexDigit(s[i + 2]);
    if (IsUnreservedOrReserved(c) || escape) {
      out += c;
    } else {
      auto byte = static_cast<unsigned char>(c);
      out += '%';
      out += hex[byte >> 4];
      out += hex[byte & 15];
    }
  }
  return out;
}

}  // namespace tarvola::desktop
