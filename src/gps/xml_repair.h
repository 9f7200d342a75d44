#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tarvola::gps {

// Makes the ampersands of text and attribute values that start no reference XML knows (a bare
// "&" in "B&B", "&nbsp;" without a DTD, entities of a document's own DTD) stand for themselves,
// as "&amp;": such files have always loaded, their values keeping the text as written. Markup,
// comments, CDATA and processing instructions pass unchanged. Fed piece by piece.
class TAmpersandRepair {
public:
  // Replaces `piece` with its repaired text; the end of a piece that cannot be decided yet is
  // held for the next one. `last`: no piece follows.
  void Repair(std::string& piece, bool last);

private:
  enum class TState { Text, Comment, Cdata, Pi, Doctype };

  // How many characters at `at` belong to the state change or reference starting there; 0 when
  // more text is needed to tell. `bare`: the ampersand at `at` starts no reference.
  std::size_t Step(std::string_view text, std::size_t at, bool last, bool& bare);
  std::size_t Skip(std::string_view text, std::size_t at) const;
  static const std::array<bool, 256>& StopsOf(TState state);

  TState FState = TState::Text;
  int FBrackets = 0;
  std::string FHeld;
};

}  // namespace tarvola::gps
