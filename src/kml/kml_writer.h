#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarvola::kml {

struct TXmlAttr {
  std::string_view Name;
  std::string_view Value;
};

// Appends `text` as XML character data: & < > escaped (and " in attributes); CR and LF as
// references, so a text keeps its line on the page and its line ends survive a reader's
// normalisation; characters XML 1.0 cannot carry dropped; bytes that are not UTF-8 replaced
// by U+FFFD so the document stays well-formed.
void AppendEscaped(std::string& out, std::string_view text, bool inAttribute = false);

// Where a document written in pieces goes; Write may take the text (the caller empties it).
class TKmlSink {
public:
  virtual ~TKmlSink() = default;
  virtual void Write(std::string& text) = 0;
  // Drops everything written so far: the document starts over.
  virtual void Restart() = 0;
};

// A document gathered in memory.
class TTextSink : public TKmlSink {
public:
  void Write(std::string& text) override { Text.append(text); }
  void Restart() override { Text.clear(); }
  std::string Text;
};

// Writes an indented XML document straight into a string: two spaces per level, one
// element per line, LF line ends, elements without content in the short form <name/>.
// Element names and attribute names are literals of ours and are written as given.
class TKmlWriter {
public:
  explicit TKmlWriter(std::string& out) : FOut(out) {}
  // A writer for a part of a document, its elements `depth` levels deep.
  TKmlWriter(std::string& out, int depth) : FOut(out), FOpen(static_cast<std::size_t>(depth)) {}

  void Declaration();
  void Open(std::string_view name, std::initializer_list<TXmlAttr> attrs = {});
  void Close();
  void Text(std::string_view name, std::string_view text,
            std::initializer_list<TXmlAttr> attrs = {});
  void Empty(std::string_view name, std::initializer_list<TXmlAttr> attrs = {});

  // A text element whose text is appended piece by piece (the long coordinate lists).
  void BeginText(std::string_view name);
  void AppendText(std::string_view piece) { AppendEscaped(FOut, piece); }
  void AppendRaw(char c) { FOut.push_back(c); }
  // Text escaped already (a part written by another writer).
  void AppendRaw(std::string_view text) { FOut.append(text); }
  void EndText();

  // Hands what was written so far to `sink` and starts the buffer afresh, the elements staying
  // open; inside a text element that has no text yet it waits, as the short form may follow.
  void Drain(TKmlSink& sink);

  // Forgets the open elements, for a document that starts over in an emptied string.
  void Reset();

  int Depth() const { return static_cast<int>(FOpen.size()); }
  std::size_t Pending() const { return FOut.size(); }

private:
  void StartTag(std::string_view name, std::initializer_list<TXmlAttr> attrs);
  void AppendEndTag(std::string_view name);
  // Ends the text element whose text began at `textStart`.
  void EndTextElement(std::string_view name, std::size_t textStart);

  std::string& FOut;
  std::vector<std::string_view> FOpen;
  std::string_view FTextName;
  std::size_t FTextStart = 0;
  bool FTextDrained = false;  // the open text element has text that went to the sink
};

}  // namespace tarvola::kml
