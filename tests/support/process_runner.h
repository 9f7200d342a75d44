#pragma once

// Runs a program as a child process with its standard output and error captured in files.

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace tarvola::test {

struct TProcessResult {
  int ExitCode = -1;  // -1: did not exit normally
  std::string Out;
  std::string Err;
};

// Where the child's standard input comes from (the null device when empty) and, when set, where
// its standard output goes instead of being captured.
struct TStandardStreams {
  std::filesystem::path Input;
  std::filesystem::path Output;
};

#ifdef _WIN32
// One argument as CommandLineToArgvW and the C runtime read it back.
inline std::wstring QuotedArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes double only before a quote, which itself gets one.
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    quoted.push_back(c);
    backslashes = 0;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

inline HANDLE InheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Arguments are UTF-8; the program is started by its absolute path, with no shell between.
inline TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::filesystem::path& workDir = {},
                                 const TStandardStreams& streams = {}) {
  TTempFolder capture;
  const std::filesystem::path outPath = streams.Output.empty() ? capture.File("out") : streams.Output;
  const std::wstring application = std::filesystem::absolute(Utf8Path(program)).wstring();
  std::wstring commandLine = QuotedArgument(application);
  for (const std::string& arg : args) commandLine += L" " + QuotedArgument(Utf8Path(arg).wstring());
  HANDLE out = InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = InheritableFile(capture.File("err"), GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE nothing = InheritableFile(streams.Input.empty() ? std::filesystem::path(L"NUL") : streams.Input,
                                   GENERIC_READ, OPEN_EXISTING);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  TProcessResult result;
  if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)) {
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code))
      result.ExitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  for (HANDLE handle : {out, err, nothing})
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (streams.Output.empty()) result.Out = ReadFile(outPath);
  result.Err = ReadFile(capture.File("err"));
  return result;
}
#else
inline TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::filesystem::path& workDir = {},
                                 const TStandardStreams& streams = {}) {
  TTempFolder capture;
  const std::string outPath = streams.Output.empty() ? capture.File("out").string() : streams.Output.string();
  const std::string inPath = streams.Input.empty() ? std::string("/dev/null") : streams.Input.string();
  const std::string errPath = capture.File("err").string();
  std::vector<std::string> argvText;
  argvText.push_back(program);
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int nothing = open(inPath.c_str(), O_RDONLY);
    if (out < 0 || err < 0 || nothing < 0) _exit(126);
    dup2(nothing, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  TProcessResult result;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    result.ExitCode = WEXITSTATUS(status);
  }
  if (streams.Output.empty()) result.Out = ReadFile(outPath);
  result.Err = ReadFile(errPath);
  return result;
}

#endif

}  // namespace tarvola::test
