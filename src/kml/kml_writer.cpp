#include "kml_writer.h"

#include <array>
#include <cstdint>

namespace tarvola::kml {

namespace {

enum TByteClass : std::uint8_t {
  Plain,        // copied as it is
  Drop,         // a control character XML 1.0 cannot carry
  Special,      // & < > CR LF: always written as a reference
  AttrSpecial,  // " and tab: written as a reference inside attribute values only
  Multibyte,    // the lead or continuation byte of a UTF-8 sequence
};

constexpr std::array<TByteClass, 256> MakeByteClasses() {
  std::array<TByteClass, 256> classes{};
  for (int c = 0; c < 0x20; ++c) classes[c] = Drop;
  for (int c = 0x80; c < 0x100; ++c) classes[c] = Multibyte;
  classes['&'] = Special;
  classes['<'] = Special;
  classes['>'] = Special;
  classes['\r'] = Special;
  classes['\n'] = Special;
  classes['"'] = AttrSpecial;
  classes['\t'] = AttrSpecial;
  return classes;
}

constexpr std::array<TByteClass, 256> ByteClasses = MakeByteClasses();

constexpr std::string_view ReplacementChar = "\xEF\xBF\xBD";

std::string_view ReferenceFor(char c) {
  switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\t': return "&#9;";
    case '\n': return "&#10;";
    case '\r': return "&#13;";
    default: return {};
  }
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at `text[pos]`, or 0 when it is malformed
// (overlong forms, code points above U+10FFFF and truncated sequences included).
std::size_t SequenceLength(std::string_view text, std::size_t pos, std::uint32_t& codePoint) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2; minimum = 0x80; codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3; minimum = 0x800; codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4; minimum = 0x10000; codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if (!IsContinuation(next)) return 0;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  return length;
}

// Surrogates (which reach UTF-8 through character references of lone halves) and the two
// non-characters U+FFFE and U+FFFF are outside XML 1.0's character range.
bool IsXmlChar(std::uint32_t codePoint) {
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
  return codePoint != 0xFFFE && codePoint != 0xFFFF;
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  std::size_t pos = 0;
  const std::size_t size = text.size();
  while (pos < size) {
    std::size_t run = pos;
    while (run < size && ByteClasses[static_cast<unsigned char>(text[run])] == Plain) ++run;
    out.append(text.data() + pos, run - pos);
    pos = run;
    if (pos == size) break;

    const char c = text[pos];
    switch (ByteClasses[static_cast<unsigned char>(c)]) {
      case Drop:
        ++pos;
        break;
      case Special:
        out.append(ReferenceFor(c));
        ++pos;
        break;
      case AttrSpecial:
        if (inAttribute) {
          out.append(ReferenceFor(c));
        } else {
          out.push_back(c);
        }
        ++pos;
        break;
      case Multibyte: {
        std::uint32_t codePoint = 0;
        const std::size_t length = SequenceLength(text, pos, codePoint);
        if (length == 0) {
          out.append(ReplacementChar);
          ++pos;
        } else {
          if (IsXmlChar(codePoint)) out.append(text.data() + pos, length);
          pos += length;
        }
        break;
      }
      case Plain:
        break;
    }
  }
}

void TKmlWriter::Declaration() {
  FOut.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
}

void TKmlWriter::StartTag(std::string_view name, std::initializer_list<TXmlAttr> attrs) {
  FOut.append(2 * FOpen.size(), ' ');
  FOut.push_back('<');
  FOut.append(name);
  for (const TXmlAttr& attr : attrs) {
    FOut.push_back(' ');
    FOut.append(attr.Name);
    FOut.append("=\"");
    AppendEscaped(FOut, attr.Value, true);
    FOut.push_back('"');
  }
}

void TKmlWriter::Open(std::string_view name, std::initializer_list<TXmlAttr> attrs) {
  StartTag(name, attrs);
  FOut.append(">\n");
  FOpen.push_back(name);
}

void TKmlWriter::Close() {
  const std::string_view name = FOpen.back();
  FOpen.pop_back();
  FOut.append(2 * FOpen.size(), ' ');
  AppendEndTag(name);
}

void TKmlWriter::Text(std::string_view name, std::string_view text,
                      std::initializer_list<TXmlAttr> attrs) {
  StartTag(name, attrs);
  FOut.push_back('>');
  const std::size_t textStart = FOut.size();
  AppendEscaped(FOut, text);
  EndTextElement(name, textStart);
}

void TKmlWriter::Empty(std::string_view name, std::initializer_list<TXmlAttr> attrs) {
  StartTag(name, attrs);
  FOut.append("/>\n");
}

void TKmlWriter::BeginText(std::string_view name) {
  StartTag(name, {});
  FOut.push_back('>');
  FTextName = name;
  FTextStart = FOut.size();
}

void TKmlWriter::EndText() {
  if (FTextDrained) {
    AppendEndTag(FTextName);
  } else {
    EndTextElement(FTextName, FTextStart);
  }
  FTextName = {};
  FTextDrained = false;
}

void TKmlWriter::Drain(TKmlSink& sink) {
  const bool inText = !FTextName.empty();
  if (FOut.empty() || (inText && !FTextDrained && FOut.size() == FTextStart)) return;
  if (inText) FTextDrained = true;
  sink.Write(FOut);
  FOut.clear();
  FTextStart = 0;
}

void TKmlWriter::Reset() {
  FOpen.clear();
  FTextName = {};
  FTextStart = 0;
  FTextDrained = false;
}

void TKmlWriter::AppendEndTag(std::string_view name) {
  FOut.append("</");
  FOut.append(name);
  FOut.append(">\n");
}

void TKmlWriter::EndTextElement(std::string_view name, std::size_t textStart) {
  if (FOut.size() == textStart) {
    // No text, or none survived escaping: the element has no content after all.
    FOut.back() = '/';
    FOut.append(">\n");
    return;
  }
  AppendEndTag(name);
}

}  // namespace tarvola::kml
