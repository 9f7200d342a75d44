// Stands in for a browser or Google Earth: writes its arguments, each ended by a NUL byte,
// into the file named by TARVOLA_RECORD_FILE. Written beside it and renamed, so a reader
// never sees half a record. With TARVOLA_PROBE_FD set (POSIX), a last entry tells whether that
// file descriptor was left open for it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#endif

namespace {

#ifdef _WIN32
std::string Utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

// The arguments as the shell passed them, in UTF-8 whatever the ANSI code page.
std::vector<std::string> Arguments(int, char**) {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; i < count; ++i) result.push_back(Utf8(args[i]));
  LocalFree(args);
  return result;
}

std::filesystem::path RecordFile() {
  const wchar_t* target = _wgetenv(L"TARVOLA_RECORD_FILE");
  return target == nullptr ? std::filesystem::path() : std::filesystem::path(target);
}
#else
std::vector<std::string> Arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

std::filesystem::path RecordFile() {
  const char* target = std::getenv("TARVOLA_RECORD_FILE");
  return target == nullptr ? std::filesystem::path() : std::filesystem::path(target);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path target = RecordFile();
  if (target.empty()) return 2;
  // Looked at before this program opens anything itself.
  std::string probe;
#ifndef _WIN32
  if (const char* fd = std::getenv("TARVOLA_PROBE_FD")) probe = fcntl(std::atoi(fd), F_GETFD) == -1 ? "closed" : "open";
#endif
  std::filesystem::path partial = target;
  partial += ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    for (const std::string& arg : Arguments(argc, argv)) out << arg << '\0';
    if (!probe.empty()) out << probe << '\0';
    if (!out) return 1;
  }
  std::error_code ec;
  std::filesystem::rename(partial, target, ec);
  return ec ? 1 : 0;
}
