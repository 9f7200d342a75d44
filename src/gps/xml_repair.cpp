#include "gps/xml_repair.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tarvola::gps {

namespace {

constexpr std::size_t LongestReference = 16;

bool StartsWith(std::string_view text, std::size_t at, std::string_view start) {
  return text.compare(at, start.size(), start) == 0;
}

// The length of the reference at `text[at]` ('&'), 0 when there is none, npos when the text
// ends before it can be told.
std::size_t ReferenceLength(std::string_view text, std::size_t at) {
  for (std::string_view name : {"&amp;", "&lt;", "&gt;", "&apos;", "&quot;"}) {
    if (StartsWith(text, at, name)) return name.size();
  }
  std::size_t i = at + 1;
  if (i < text.size() && text[i] == '#') {
    ++i;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) ++i;
    const std::size_t digits = i;
    while (i < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[i]))
                                   : std::isdigit(static_cast<unsigned char>(text[i]))))
      ++i;
    if (i == text.size()) return std::string_view::npos;
    return i > digits && text[i] == ';' ? i + 1 - at : 0;
  }
  return text.size() - at < LongestReference ? std::string_view::npos : 0;
}

// Per state, the bytes that Step must look at; every other byte stays as it is.
using TStopTable = std::array<bool, 256>;

TStopTable Stops(std::string_view bytes) {
  TStopTable table{};
  for (char c : bytes) table[static_cast<unsigned char>(c)] = true;
  return table;
}

// Whether any of the eight bytes of `word` is `c`.
bool HasByte(std::uint64_t word, unsigned char c) {
  const std::uint64_t x = word ^ (0x0101010101010101ULL * c);
  return ((x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL) != 0;
}

}  // namespace

const std::array<bool, 256>& TAmpersandRepair::StopsOf(TState state) {
  static const TStopTable text = Stops("&<!?"), comment = Stops("-"), cdata = Stops("]"), pi = Stops("?"),
                          doctype = Stops("[]>");
  switch (state) {
    case TState::Text: return text;
    case TState::Comment: return comment;
    case TState::Cdata: return cdata;
    case TState::Pi: return pi;
    case TState::Doctype: break;
  }
  return doctype;
}

// The next byte at or after `at` that Step must see. Most of a file is text and tags, where only
// an ampersand or the "<!" and "<?" that open other markup matter: those are found through the
// rare '&', '!' and '?', eight bytes at a time. A '<' that ends the text may open markup too.
std::size_t TAmpersandRepair::Skip(std::string_view text, std::size_t at) const {
  const std::size_t size = text.size();
  const std::size_t from = at;
  if (FState != TState::Text) {
    const TStopTable& stops = StopsOf(FState);
    while (at < size && !stops[static_cast<unsigned char>(text[at])]) ++at;
    return at;
  }
  while (at < size) {
    if (at + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + at, 8);
      if (!HasByte(word, '&') && !HasByte(word, '!') && !HasByte(word, '?')) {
        at += 8;
        continue;
      }
    }
    const char c = text[at];
    if (c == '&') return at;
    if ((c == '!' || c == '?') && at > 0 && text[at - 1] == '<') return at - 1;
    ++at;
  }
  return size > from && text[size - 1] == '<' ? size - 1 : size;
}

std::size_t TAmpersandRepair::Step(std::string_view text, std::size_t at, bool last, bool& bare) {
  const char c = text[at];
  const std::size_t left = text.size() - at;
  auto need = [&](std::size_t count) { return left < count && !last; };
  switch (FState) {
    case TState::Text:
      if (c == '&') {
        std::size_t length = ReferenceLength(text, at);
        if (length == std::string::npos) {
          if (!last) return 0;
          length = 0;
        }
        bare = length == 0;
        return bare ? 1 : length;
      }
      // '<' here opens a comment, CDATA, a processing instruction or a declaration, or may.
      if (need(9)) return 0;
      if (StartsWith(text, at, "<!--")) {
        FState = TState::Comment;
        return 4;
      }
      if (StartsWith(text, at, "<![CDATA[")) {
        FState = TState::Cdata;
        return 9;
      }
      if (left < 2 || (text[at + 1] != '!' && text[at + 1] != '?')) return 1;
      FState = text[at + 1] == '?' ? TState::Pi : TState::Doctype;
      FBrackets = 0;
      return 2;
    case TState::Comment:
    case TState::Cdata:
    case TState::Pi: {
      const std::string_view end = FState == TState::Comment ? "-->" : FState == TState::Cdata ? "]]>" : "?>";
      if (need(end.size())) return 0;
      if (!StartsWith(text, at, end)) return 1;
      FState = TState::Text;
      return end.size();
    }
    case TState::Doctype:
      // The internal subset stays as it is; its own markup ends within its brackets.
      if (c == '[') ++FBrackets;
      if (c == ']') --FBrackets;
      if (c == '>' && FBrackets <= 0) FState = TState::Text;
      return 1;
  }
  return 1;
}

void TAmpersandRepair::Repair(std::string& piece, bool last) {
  if (!FHeld.empty()) {
    FHeld.append(piece);
    piece.swap(FHeld);
    FHeld.clear();
  }
  const std::string_view text = piece;
  std::string out;
  std::size_t copied = 0, end = text.size();
  for (std::size_t at = Skip(text, 0); at < text.size(); at = Skip(text, at)) {
    bool bare = false;
    const std::size_t used = Step(text, at, last, bare);
    if (used == 0) {
      FHeld.assign(text.substr(at));
      end = at;
      break;
    }
    if (bare) {
      out.append(text.substr(copied, at - copied)).append("&amp;");
      copied = at + 1;
    }
    at += used;
  }
  if (copied == 0) {
    piece.resize(end);
    return;
  }
  out.append(text.substr(copied, end - copied));
  piece.swap(out);
}

}  // namespace tarvola::gps
