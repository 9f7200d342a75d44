#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The converter's ties to the system's console: console_posix.cpp or console_win.cpp.
namespace tarvola::cli {

// The command-line arguments after the program name, as UTF-8: the converter works in UTF-8
// throughout, so that file names outside the Windows ANSI code page still work there.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Whether the stream is a terminal a person reads.
bool IsTerminal(std::FILE* stream);

// Switches the stream to binary where the system tells text from binary.
void SetBinary(std::FILE* stream);

}  // namespace tarvola::cli
