#include "failure_line.h"

namespace tarvola::cli {

std::string FailureLine(std::string_view input, std::string_view text, std::string_view reason) {
  std::string line(ProgramName);
  line.append(": ");
  line.append(input);
  line.append(": ");
  // A thrown file error names its reason itself ("Cannot create file x: Permission denied").
  if (text.ends_with(reason)) reason = {};
  // "Error saving KML file.: No space left" would read badly; the reason ends the sentence.
  if (!reason.empty() && text.ends_with('.')) text.remove_suffix(1);
  line.append(text);
  if (!reason.empty()) {
    line.append(": ");
    line.append(reason);
  }
  line.push_back('\n');
  return line;
}

}  // namespace tarvola::cli
