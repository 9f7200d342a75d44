#include "desktop/command_line.h"

namespace tarvola::desktop {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the quotes at text[i], after `backslashes` backslashes already copied to arg.
// quotes counts like the system's parser: odd while inside a quoted part.
std::size_t ReadQuotes(std::string_view text, std::size_t i, std::size_t backslashes,
                       std::string& arg, int& quotes) {
  if (backslashes % 2 == 0) {
    arg.resize(arg.size() - backslashes / 2);
    ++quotes;
  } else {
    arg.resize(arg.size() - backslashes / 2 - 1);
    arg += '"';
  }
  ++i;
  // A run of quotes: every third one is a literal quote.
  while (i < text.size() && text[i] == '"') {
    if (++quotes == 3) {
      arg += '"';
      quotes = 0;
    }
    ++i;
  }
  if (quotes == 2) quotes = 0;
  return i;
}

}  // namespace

std::vector<std::string> SplitWindowsParameters(std::string_view text) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false;
  int quotes = 0;
  std::size_t backslashes = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (IsBlank(c) && quotes == 0) {
      if (inArg) args.push_back(std::move(arg));
      arg.clear();
      inArg = false;
      backslashes = 0;
      ++i;
      continue;
    }
    inArg = true;
    if (c == '\\') {
      arg += c;
      ++backslashes;
      ++i;
    } else if (c == '"') {
      i = ReadQuotes(text, i, backslashes, arg, quotes);
      backslashes = 0;
    } else {
      arg += c;
      backslashes = 0;
      ++i;
    }
  }
  if (inArg) args.push_back(std::move(arg));
  return args;
}

std::string QuoteWindowsArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos)
    return std::string(argument);
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') out.append(backslashes * 2 + 1, '\\');
    else out.append(backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

std::string JoinWindowsParameters(const std::vector<std::string>& arguments) {
  std::string out;
  for (const std::string& a : arguments) {
    if (!out.empty()) out += ' ';
    out += QuoteWindowsArgument(a);
  }
  return out;
}

}  // namespace tarvola::desktop
