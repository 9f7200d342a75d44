#include "desktop/detached_spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "desktop/command_line.h"

extern char** environ;

namespace tarvola::desktop {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// RAII for the two ends of the pipe that tells us whether exec failed.
struct TPipe {
  int Fd[2] = {-1, -1};
  ~TPipe() {
    for (int fd : Fd)
      if (fd >= 0) close(fd);
  }
  void CloseWrite() {
    close(Fd[1]);
    Fd[1] = -1;
  }
};

// Runs in the forked children: only async-signal-safe calls from here on.
[[noreturn]] void RunGrandchild(const char* path, char* const* argv, int reportFd) {
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  signal(SIGPIPE, SIG_DFL);
#if defined(__linux__) && defined(CLOSE_RANGE_CLOEXEC)
  // The started program gets none of our files and sockets, the report pipe included.
  close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
#endif
  execve(path, argv, environ);
  int error = errno;
  [[maybe_unused]] auto written = write(reportFd, &error, sizeof error);
  _exit(127);
}

[[noreturn]] void RunIntermediate(const char* path, char* const* argv, int reportFd) {
  setsid();
  pid_t pid = fork();
  if (pid == 0) RunGrandchild(path, argv, reportFd);
  if (pid < 0) {
    int error = errno;
    [[maybe_unused]] auto written = write(reportFd, &error, sizeof error);
  }
  _exit(0);
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) return IsExecutableFile(program) ? program : std::string();
  const char* pathVar = std::getenv("PATH");
  std::string path = pathVar ? pathVar : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string candidate = end > start ? path.substr(start, end - start) : std::string(".");
    candidate += '/';
    candidate += program;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return {};
}

bool SpawnDetached(const std::string& program, const std::vector<std::string>& arguments) {
  std::string path = FindProgram(program);
  if (path.empty()) return false;
  // Everything the children need is built before fork: they may not allocate.
  std::vector<std::string> strings;
  strings.reserve(arguments.size() + 1);
  strings.push_back(program);
  strings.insert(strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  TPipe report;
  if (pipe2(report.Fd, O_CLOEXEC) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) RunIntermediate(path.c_str(), argv.data(), report.Fd[1]);
  report.CloseWrite();
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  // End of file without a word means exec closed the pipe: the program runs.
  int error = 0;
  ssize_t got;
  while ((got = read(report.Fd[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return got == 0;
}

bool TSpawnShell::Execute(const TShellRequest& request) {
  if (request.Program.empty()) return false;
  return SpawnDetached(request.Program, SplitWindowsParameters(request.Parameters));
}

}  // namespace tarvola::desktop
