#include "utf8_text.h"

#include "io/system_text.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace tarvola::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  // argv is in the ANSI code page; the wide command line holds every name as typed.
  (void)argc;
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    result.push_back(io::PathText(std::filesystem::path(wide[i])));
  }
  if (wide != nullptr) LocalFree(wide);
  return result;
#else
  return std::vector<std::string>(argv + 1, argv + argc);
#endif
}

}  // namespace tarvola::cli
