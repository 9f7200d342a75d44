#pragma once

#include <filesystem>
#include <string>

namespace tarvola::io {

// What a core operation that can fail gives back: the code its callers act on (the operation's
// own small set of values), the file the outcome concerns and, where there is one, why in plain
// words: mostly the system's reason ("Permission denied"), for a message that names the file.
template <typename TCode>
struct TResult {
  TCode Code{};
  std::filesystem::path File;
  std::string Reason;

  friend bool operator==(const TResult& result, TCode code) { return result.Code == code; }
};

}  // namespace tarvola::io
