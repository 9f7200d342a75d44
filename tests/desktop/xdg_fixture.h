#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace tarvola::test {

// A desktop of its own in a temporary folder: the XDG variables point into it while the
// object lives and are put back afterwards. The recorder program writes to RecordFile().
class TXdgFixture {
public:
  TXdgFixture();
  ~TXdgFixture();
  TXdgFixture(const TXdgFixture&) = delete;
  TXdgFixture& operator=(const TXdgFixture&) = delete;

  std::filesystem::path ConfigHome() const { return FTemp.File("config"); }
  std::filesystem::path ConfigDir() const { return FTemp.File("sysconfig"); }
  std::filesystem::path DataHome() const { return FTemp.File("data"); }
  std::filesystem::path DataDir() const { return FTemp.File("sysdata"); }
  std::filesystem::path File(const std::string& name) const { return FTemp.File(name); }
  std::filesystem::path RecordFile() const { return FTemp.File("started.rec"); }

  // Writes a file below the fixture, creating its folders.
  std::filesystem::path Write(const std::filesystem::path& path, const std::string& text) const;
  // data/applications/<id>
  std::filesystem::path AddEntry(const std::string& id, const std::string& text) const;
  // An application entry that runs the recorder with these Exec arguments.
  std::filesystem::path AddRecorderEntry(const std::string& id, const std::string& execArguments) const;
  void SetUserMimeApps(const std::string& text) const;

  static void SetEnv(const std::string& name, const std::optional<std::string>& value);

private:
  TTempFolder FTemp;
  std::map<std::string, std::optional<std::string>> FSaved;
};

// The arguments the recorder wrote, once it has written them; nullopt when nothing arrived
// within the time given.
std::optional<std::vector<std::string>> WaitForRecord(const std::filesystem::path& record, int seconds = 10);
// For checks that nothing was started: a short wait.
inline bool NothingRecorded(const std::filesystem::path& record) { return !WaitForRecord(record, 1); }

// The Exec quoting of one argument.
std::string ExecQuote(const std::string& argument);

std::string RecorderProgram();

}  // namespace tarvola::test
