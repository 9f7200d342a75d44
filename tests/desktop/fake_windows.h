#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "reg_file_hive.h"
#include "desktop/win_system.h"
#include "test_support.h"

namespace tarvola::test {

inline std::string AsciiUpper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// A Windows machine's environment, folders and files, compared without letter case like
// Windows does; unknown %NAME% references stay as written.
class TFakeSystem : public desktop::TSystemCalls {
public:
  std::map<std::string, std::string> Environment{{"SYSTEMROOT", "C:\\Windows"},
                                                 {"PROGRAMFILES", "C:\\Program Files"}};
  std::string System = "C:\\Windows\\system32";
  std::string Windows = "C:\\Windows";
  bool ExpansionFails = false;

  void AddFile(const std::string& path) { FFiles.insert(AsciiUpper(path)); }

  std::optional<std::string> ExpandEnvironment(const std::string& text) override {
    if (ExpansionFails) return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
      std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
      auto value = close == std::string::npos ? Environment.end()
                                              : Environment.find(AsciiUpper(text.substr(i + 1, close - i - 1)));
      if (value == Environment.end()) {
        out += text[i++];
        continue;
      }
      out += value->second;
      i = close + 1;
    }
    return out;
  }
  std::string SystemFolder() override { return System; }
  std::string WindowsFolder() override { return Windows; }
  bool FileExists(const std::string& path) override { return FFiles.count(AsciiUpper(path)) > 0; }

private:
  std::set<std::string> FFiles;
};

// Records what the shell was asked to start and answers as told.
class TRecordingShell : public desktop::TShell {
public:
  bool Result = true;
  std::vector<desktop::TShellRequest> Requests;
  bool Execute(const desktop::TShellRequest& request) override {
    Requests.push_back(request);
    return Result;
  }
};

inline desktop::TRegFileHive FixtureHive(const std::string& name) {
  return desktop::TRegFileHive::FromFile(SourceDir() / "tests" / "desktop" / "fixtures" / name);
}

}  // namespace tarvola::test
