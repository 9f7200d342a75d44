#pragma once

// Runs a program as a child process with its standard output and error captured in files; on
// POSIX also with them on a pseudo-terminal, and a function in a forked child.

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cctype>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
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

// The outside programs some tests read our files back with, as configure found them; empty when
// it did not.
inline std::string UnzipProgram() { return TARVOLA_UNZIP; }
inline std::string Python3Program() { return TARVOLA_PYTHON3; }
inline std::string XmllintProgram() { return TARVOLA_XMLLINT; }

// "unzip was not found; " for Unzip.
inline std::string MissingProgram(std::string_view tool) {
  std::string name(tool);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name + " was not found; ";
}

// Skips the running test when the outside program `Tool` (Unzip, Python3) is missing, saying what
// the test wanted it for.
#define TARVOLA_REQUIRE_TOOL(Tool, purpose)        \
  if (!::tarvola::test::Tool##Program().empty()) { \
  } else                                           \
    GTEST_SKIP() << ::tarvola::test::MissingProgram(#Tool) << (purpose)

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
// Starts a program in `workDir` with `in`, `out` and `err` as its standard streams.
inline pid_t StartProcess(const std::string& program, const std::vector<std::string>& args,
                          const std::filesystem::path& workDir, int in, int out, int err) {
  std::vector<std::string> text = {program};
  text.insert(text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(126);
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return child;
}

// The exit code of a child, or -1 when there is none or it did not exit normally.
inline int ExitCodeOf(pid_t child) {
  int status = 0;
  if (child <= 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

inline TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::filesystem::path& workDir = {},
                                 const TStandardStreams& streams = {}) {
  TTempFolder capture;
  const std::filesystem::path outPath = streams.Output.empty() ? capture.File("out") : streams.Output;
  const int in = open(streams.Input.empty() ? "/dev/null" : streams.Input.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int err = open(capture.File("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t child = StartProcess(program, args, workDir, in, out, err);
  for (int fd : {in, out, err})
    if (fd >= 0) close(fd);
  TProcessResult result;
  result.ExitCode = ExitCodeOf(child);
  if (streams.Output.empty()) result.Out = ReadFile(outPath);
  result.Err = ReadFile(capture.File("err"));
  return result;
}

enum class TOnTerminal { Error, OutputAndError };

// Runs a program with standard error, or standard output and error, on a pseudo-terminal and the
// rest on the null device; Out is what the terminal received until the program let go of it. One
// that is silent for ten seconds is killed.
inline TProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& args,
                                    const std::filesystem::path& workDir, TOnTerminal streams) {
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t child =
      StartProcess(program, args, workDir, nothing, streams == TOnTerminal::OutputAndError ? slave : nothing, slave);
  close(nothing);
  close(slave);
  TProcessResult result;
  char buffer[4096];
  for (pollfd ready{master, POLLIN, 0}; child > 0 && poll(&ready, 1, 10000) > 0;) {
    const ssize_t got = read(master, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once the last writer is gone
    result.Out.append(buffer, static_cast<std::size_t>(got));
  }
  close(master);
  // Not yet reaped, so the id is still this child's; one that has exited keeps its exit code.
  if (child > 0) kill(child, SIGKILL);
  result.ExitCode = ExitCodeOf(child);
  return result;
}

// Runs `body` in a forked child; gives what it returned (0 to 255), or -1 when the child could not
// start or did not exit normally. An exception out of `body` ends the child with 255.
inline int RunInChild(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    int code = 255;
    try {
      code = body();
    } catch (...) {
    }
    _exit(code);
  }
  return ExitCodeOf(child);
}

#endif

}  // namespace tarvola::test
