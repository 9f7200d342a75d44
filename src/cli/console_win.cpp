#include "console.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <filesystem>

#include "io/system_text.h"

namespace tarvola::cli {

std::vector<std::string> Utf8Arguments(int, char**) {
  // argv is in the ANSI code page; the wide command line holds every name as typed.
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    result.push_back(io::PathText(std::filesystem::path(wide[i])));
  }
  if (wide != nullptr) LocalFree(wide);
  return result;
}

bool IsTerminal(std::FILE* stream) {
  // _isatty holds for every character device, NUL among them; only a console is a terminal.
  DWORD mode = 0;
  return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))), &mode) != 0;
}

void SetBinary(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

}  // namespace tarvola::cli
