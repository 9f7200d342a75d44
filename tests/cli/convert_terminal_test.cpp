// tarvola-convert with its standard error on a terminal (a pseudo-terminal here), reading an
// input through a named pipe so that the test decides how long the conversion takes.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "process_runner.h"
#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

TEST(ConverterOnATerminal, ShowsProgressForAnInputThatTakesLongAndClearsIt) {
  test::TTempFolder folder;
  const fs::path pipe = folder.File("slow.gpx");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::string gpx = test::ReadFile(test::SourceDir() / "tests/kml/data/sample.gpx");

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
  const test::TProcessResult run = test::RunOnTerminal(
      TARVOLA_CONVERT_EXE, {"--format", "kml", "-o", "out.kml", "slow.gpx"}, folder.Path(), test::TOnTerminal::Error);
  feeder.join();

  ASSERT_NE(run.ExitCode, -1) << run.Out;
  EXPECT_EQ(run.ExitCode, 0) << run.Out;
  const std::size_t progress = run.Out.find("\r\033[Kslow.gpx: converting... (0 of 1 done)");
  ASSERT_NE(progress, std::string::npos) << run.Out;
  // The line is wiped before the input's own message.
  EXPECT_NE(run.Out.find("\r\033[Kslow.gpx: saved out.kml", progress), std::string::npos) << run.Out;
  EXPECT_TRUE(fs::is_regular_file(folder.File("out.kml")));
}

TEST(ConverterOnATerminal, RefusesToWriteKmzToTheTerminal) {
  test::TTempFolder folder;
  fs::copy_file(test::SourceDir() / "tests/kml/data/sample.gpx", folder.File("in.gpx"));
  const test::TProcessResult refused =
      test::RunOnTerminal(TARVOLA_CONVERT_EXE, {"-o", "-", "in.gpx"}, folder.Path(), test::TOnTerminal::OutputAndError);
  EXPECT_EQ(refused.ExitCode, 2) << refused.Out;
  EXPECT_NE(refused.Out.find("not writing a KMZ package to a terminal"), std::string::npos) << refused.Out;
  EXPECT_EQ(refused.Out.find("PK"), std::string::npos);
  // KML is text: a terminal may show it.
  const test::TProcessResult shown = test::RunOnTerminal(TARVOLA_CONVERT_EXE, {"-o", "-", "--format", "kml", "in.gpx"},
                                                          folder.Path(), test::TOnTerminal::OutputAndError);
  EXPECT_EQ(shown.ExitCode, 0) << shown.Out;
  EXPECT_NE(shown.Out.find("<kml"), std::string::npos) << shown.Out;
}

}  // namespace
}  // namespace tarvola::cli
