#include "xdg_fixture.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tarvola::test {

namespace fs = std::filesystem;

namespace {
const char* const Variables[] = {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                                 "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP", "TARVOLA_RECORD_FILE"};
}

TXdgFixture::TXdgFixture() {
  for (const char* name : Variables) {
    const char* value = std::getenv(name);
    FSaved[name] = value ? std::optional<std::string>(value) : std::nullopt;
  }
  for (const fs::path& dir : {ConfigHome(), ConfigDir(), DataHome() / "applications", DataDir() / "applications"})
    fs::create_directories(dir);
  SetEnv("XDG_CONFIG_HOME", ConfigHome().string());
  SetEnv("XDG_CONFIG_DIRS", ConfigDir().string());
  SetEnv("XDG_DATA_HOME", DataHome().string());
  SetEnv("XDG_DATA_DIRS", DataDir().string());
  SetEnv("XDG_CURRENT_DESKTOP", std::nullopt);
  SetEnv("TARVOLA_RECORD_FILE", RecordFile().string());
}

TXdgFixture::~TXdgFixture() {
  for (const auto& [name, value] : FSaved) SetEnv(name, value);
}

void TXdgFixture::SetEnv(const std::string& name, const std::optional<std::string>& value) {
  if (value) setenv(name.c_str(), value->c_str(), 1);
  else unsetenv(name.c_str());
}

fs::path TXdgFixture::Write(const fs::path& path, const std::string& text) const {
  fs::path full = path.is_absolute() ? path : FTemp.Path() / path;
  fs::create_directories(full.parent_path());
  WriteFile(full, text);
  return full;
}

fs::path TXdgFixture::AddEntry(const std::string& id, const std::string& text) const {
  return Write(DataHome() / "applications" / id, text);
}

fs::path TXdgFixture::AddRecorderEntry(const std::string& id, const std::string& execArguments) const {
  return AddEntry(id, "[Desktop Entry]\nType=Application\nName=Recorder\nIcon=recorder-icon\nExec=" +
                          ExecQuote(RecorderProgram()) + " " + execArguments + "\n");
}

void TXdgFixture::SetUserMimeApps(const std::string& text) const { Write(ConfigHome() / "mimeapps.list", text); }

std::optional<std::vector<std::string>> WaitForRecord(const fs::path& record, int seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  std::error_code ec;
  while (!fs::exists(record, ec)) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::string bytes = ReadFile(record);
  std::vector<std::string> args;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1)
    args.push_back(bytes.substr(start, end - start));
  return args;
}

std::string ExecQuote(const std::string& argument) {
  // Backslashes double twice: once for the quoting, once for the string escapes of the file.
  std::string out = "\"";
  for (char c : argument) {
    if (c == '\\') out += "\\\\\\\\";
    else if (c == '"' || c == '`' || c == '$') {
      out += "\\\\";
      out += c;
    } else out += c;
  }
  return out + "\"";
}

std::string RecorderProgram() { return TARVOLA_ARG_RECORDER; }

}  // namespace tarvola::test
