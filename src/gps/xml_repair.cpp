#include "gps/xml_repair.h"

#include <array>
#include <cctype>
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

// Per state, the bytes that Step must look at; every other byte is copied as it is.
using TStopTable = std::array<bool, 256>;

TStopTable Stops(std::string_view bytes) {
  TStopTable table{};
  for (char c : bytes) table[static_cast<unsigned char>(c)] = true;
  return table;
}

}  // namespace

const std::array<bool, 256>& TAmpersandRepair::StopsOf(TState state) {
  static const TStopTable text = Stops("&<"), tag = Stops("\"'>"), doubleValue = Stops("&\""),
                          singleValue = Stops("&'"), comment = Stops("-"), cdata = Stops("]"), pi = Stops("?"),
                          doctype = Stops("[]>");
  switch (state) {
    case TState::Text: return text;
    case TState::Tag: return tag;
    case TState::Value: return FQuote == '"' ? doubleValue : singleValue;
    case TState::Comment: return comment;
    case TState::Cdata: return cdata;
    case TState::Pi: return pi;
    case TState::Doctype: break;
  }
  return doctype;
}

std::size_t TAmpersandRepair::Step(const std::string& text, std::size_t at, bool last,
                                   std::string& out) {
  const char c = text[at];
  const std::size_t left = text.size() - at;
  auto need = [&](std::size_t count) { return left < count && !last; };
  switch (FState) {
    case TState::Text:
    case TState::Value:
      if (c == '&') {
        std::size_t length = ReferenceLength(text, at);
        if (length == std::string::npos) {
          if (!last) return 0;
          length = 0;
        }
        if (length == 0) {
          out.append("&amp;");
          return 1;
        }
        out.append(text, at, length);
        return length;
      }
      if (FState == TState::Value) {
        if (c == FQuote) FState = TState::Tag;
      } else if (c == '<') {
        if (need(9)) return 0;
        if (StartsWith(text, at, "<!--")) {
          FState = TState::Comment;
          out.append("<!--");
          return 4;
        }
        if (StartsWith(text, at, "<![CDATA[")) {
          FState = TState::Cdata;
          out.append("<![CDATA[");
          return 9;
        }
        FState = StartsWith(text, at, "<?") ? TState::Pi
                 : StartsWith(text, at, "<!") ? TState::Doctype
                                              : TState::Tag;
        FBrackets = 0;
      }
      break;
    case TState::Tag:
      if (c == '"' || c == '\'') {
        FState = TState::Value;
        FQuote = c;
      } else if (c == '>') {
        FState = TState::Text;
      }
      break;
    case TState::Comment:
    case TState::Cdata:
    case TState::Pi: {
      const std::string_view end = FState == TState::Comment ? "-->" : FState == TState::Cdata ? "]]>" : "?>";
      if (c == end[0]) {
        if (need(end.size())) return 0;
        if (StartsWith(text, at, end)) {
          FState = TState::Text;
          out.append(end);
          return end.size();
        }
      }
      break;
    }
    case TState::Doctype:
      // The internal subset is copied as it is; its own markup ends within its brackets.
      if (c == '[') ++FBrackets;
      if (c == ']') --FBrackets;
      if (c == '>' && FBrackets <= 0) FState = TState::Text;
      break;
  }
  out.push_back(c);
  return 1;
}

void TAmpersandRepair::Repair(std::string& piece, bool last) {
  std::string text = std::move(FHeld);
  text.append(piece);
  FHeld.clear();
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  std::size_t at = 0;
  while (at < text.size()) {
    const TStopTable& stops = StopsOf(FState);
    std::size_t run = at;
    while (run < text.size() && !stops[static_cast<unsigned char>(text[run])]) ++run;
    out.append(text, at, run - at);
    at = run;
    if (at == text.size()) break;
    const std::size_t used = Step(text, at, last, out);
    if (used == 0) {
      FHeld.assign(text, at, std::string::npos);
      break;
    }
    at += used;
  }
  piece.swap(out);
}

}  // namespace tarvola::gps
