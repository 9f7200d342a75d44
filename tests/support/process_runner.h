#pragma once

// Runs a program as a child process with its standard output and error captured in files.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

inline TProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::filesystem::path& workDir = {}) {
  TTempFolder capture;
  const std::string outPath = capture.File("out").string();
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
    const int nothing = open("/dev/null", O_RDONLY);
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
  result.Out = ReadFile(outPath);
  result.Err = ReadFile(errPath);
  return result;
}

}  // namespace tarvola::test
