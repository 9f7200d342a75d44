// tarvola-convert with its standard error on a terminal (a pseudo-terminal here), reading an
// input through a named pipe so that the test decides how long the conversion takes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

// Everything the terminal shows until the program closes it.
std::string DrainTerminal(int master) {
  std::string shown;
  char buffer[4096];
  for (;;) {
    pollfd ready{master, POLLIN, 0};
    if (poll(&ready, 1, 10000) <= 0) break;
    const ssize_t got = read(master, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once the last writer is gone
    shown.append(buffer, static_cast<std::size_t>(got));
  }
  return shown;
}

TEST(ConverterOnATerminal, ShowsProgressForAnInputThatTakesLongAndClearsIt) {
  test::TTempFolder folder;
  const fs::path pipe = folder.File("slow.gpx");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string gpx = test::ReadFile(test::SourceDir() / "tests/kml/data/sample.gpx");

  int master = -1;
  int slave = -1;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int nothing = open("/dev/null", O_RDWR);
    dup2(nothing, 0);
    dup2(nothing, 1);
    dup2(slave, 2);
    close(master);
    if (chdir(folder.Path().c_str()) != 0) _exit(126);
    execl(TARVOLA_CONVERT_EXE, TARVOLA_CONVERT_EXE, "--format", "kml", "-o", "out.kml", "slow.gpx",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(slave);
  std::thread feeder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    // Without a reader (the child failed early) opening fails with ENXIO instead of waiting.
    int writer = -1;
    for (int attempt = 0; writer < 0 && attempt < 100; ++attempt) {
      writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (writer < 0) return;
    fcntl(writer, F_SETFL, fcntl(writer, F_GETFL) & ~O_NONBLOCK);
    for (std::size_t done = 0; done < gpx.size();) {
      const ssize_t wrote = write(writer, gpx.data() + done, gpx.size() - done);
      if (wrote <= 0) break;
      done += static_cast<std::size_t>(wrote);
    }
    close(writer);
  });
  const std::string shown = DrainTerminal(master);
  feeder.join();
  int status = 0;
  for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
    if (waited == 250) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  close(master);

  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << shown;
  const std::size_t progress = shown.find("\r\033[Kslow.gpx: converting... (0 of 1 done)");
  ASSERT_NE(progress, std::string::npos) << shown;
  // The line is wiped before the input's own message.
  EXPECT_NE(shown.find("\r\033[Kslow.gpx: saved out.kml", progress), std::string::npos) << shown;
  EXPECT_TRUE(fs::is_regular_file(folder.File("out.kml")));
}

struct TTerminalRun {
  int ExitCode = -1;
  std::string Shown;  // standard output and standard error, as the terminal got them
};

// Runs the converter in `folder` with standard output and standard error on a terminal.
TTerminalRun RunOnTerminal(const fs::path& folder, std::vector<std::string> args) {
  int master = -1;
  int slave = -1;
  if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return {};
  args.insert(args.begin(), TARVOLA_CONVERT_EXE);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int nothing = open("/dev/null", O_RDONLY);
    dup2(nothing, 0);
    dup2(slave, 1);
    dup2(slave, 2);
    close(master);
    if (chdir(folder.c_str()) != 0) _exit(126);
    execv(TARVOLA_CONVERT_EXE, argv.data());
    _exit(127);
  }
  close(slave);
  TTerminalRun run;
  run.Shown = DrainTerminal(master);
  int status = 0;
  waitpid(child, &status, 0);
  close(master);
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  return run;
}

TEST(ConverterOnATerminal, RefusesToWriteKmzToTheTerminal) {
  test::TTempFolder folder;
  fs::copy_file(test::SourceDir() / "tests/kml/data/sample.gpx", folder.File("in.gpx"));
  const TTerminalRun refused = RunOnTerminal(folder.Path(), {"-o", "-", "in.gpx"});
  EXPECT_EQ(refused.ExitCode, 2) << refused.Shown;
  EXPECT_NE(refused.Shown.find("not writing a KMZ package to a terminal"), std::string::npos) << refused.Shown;
  EXPECT_EQ(refused.Shown.find("PK"), std::string::npos);
  // KML is text: a terminal may show it.
  const TTerminalRun shown = RunOnTerminal(folder.Path(), {"-o", "-", "--format", "kml", "in.gpx"});
  EXPECT_EQ(shown.ExitCode, 0) << shown.Shown;
  EXPECT_NE(shown.Shown.find("<kml"), std::string::npos) << shown.Shown;
}

}  // namespace
}  // namespace tarvola::cli
