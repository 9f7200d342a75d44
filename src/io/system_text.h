#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace tarvola::io {

// How the file layer names paths and errors, alike on every platform for the callers. The
// system's parts are defined beside TFileStream in file_stream_posix.cpp or file_stream_win.cpp.

// The path as UTF-8 text: its bytes as they are on POSIX, converted from UTF-16 on Windows.
std::string PathText(const std::filesystem::path& path);
// The path a UTF-8 text names, whatever the Windows ANSI code page holds: PathText's inverse.
std::filesystem::path PathFromText(std::string_view text);
// The system's reason for an error code (as EStreamError::Code() holds it), in UTF-8.
std::string SystemErrorText(int code);
// The same for an error of either category: the system's (as above) or the C library's errno.
std::string SystemErrorText(const std::error_code& code);
// errno as an error of the C library's category; an input/output error when errno holds none.
std::error_code LastCrtError();
// Whether the code says that the name is taken, as TFileMode::CreateNew fails.
bool IsNameTaken(int code);
// `lead` "<absolute path>". <reason>: the message of EFOpenError and EFCreateError.
std::string FileErrorText(std::string_view lead, const std::filesystem::path& path, int code);

}  // namespace tarvola::io
