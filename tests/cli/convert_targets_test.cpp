// Where the real tarvola-convert puts its output, and what it leaves when it is stopped: links,
// pipes, permissions, a file that appears meanwhile, signals and a reader that goes away.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "process_runner.h"
#include "test_support.h"

namespace tarvola::cli {
namespace {

namespace fs = std::filesystem;

const std::string Convert = TARVOLA_CONVERT_EXE;
const std::string OldContent = "old content";

// Waypoints enough for the document to reach its file before the input ends.
std::string WaypointsGpx(int count) {
  std::string gpx = "<gpx>";
  for (int i = 0; i < count; ++i)
    gpx += "<wpt lat=\"47." + std::to_string(i) + "\" lon=\"8.5\"><name>Point " + std::to_string(i) + "</name></wpt>";
  return gpx;
}

bool IsOurTemporary(const fs::path& path) { return path.filename().string().rfind(".tarvola-save-", 0) == 0; }

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class ConverterTarget : public testing::Test {
protected:
  fs::path Path(std::string_view name) const { return FFolder.File(name); }
  test::TProcessResult Run(const std::vector<std::string>& args) {
    return test::RunProcess(Convert, args, FFolder.Path());
  }
  // Opens `fifo` for writing (which waits for the converter to open it) and feeds it.
  static std::thread Feed(const fs::path& fifo, std::function<void(int)> write) {
    return std::thread([fifo, write] {
      const int fd = open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
      if (fd < 0) return;
      write(fd);
      close(fd);
    });
  }
  static void Put(int fd, const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
      const ssize_t n = write(fd, text.data() + at, text.size() - at);
      if (n <= 0) return;
      at += static_cast<std::size_t>(n);
    }
  }

  test::TTempFolder FFolder;
};

struct TLinkRow {
  const char* Name;
  bool TargetExists;
};

class SymbolicLinkOutput : public ConverterTarget, public testing::WithParamInterface<TLinkRow> {};

// As an editor saves: the link stays a link, and the file it names gets the document.
TEST_P(SymbolicLinkOutput, ReplacesTheFileItNames) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(3) + "</gpx>");
  if (GetParam().TargetExists) test::WriteFile(Path("real.kml"), OldContent);
  fs::create_symlink("real.kml", Path("link.kml"));
  const test::TProcessResult run = Run({"-o", "link.kml", "in.gpx"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Path("link.kml"))));
  EXPECT_EQ(test::ReadFile(Path("real.kml")).rfind("<?xml", 0), 0u);
  EXPECT_EQ(Entries(FFolder.Path()), (std::vector<std::string>{"in.gpx", "link.kml", "real.kml"}));
}

INSTANTIATE_TEST_SUITE_P(Links, SymbolicLinkOutput,
                         testing::Values(TLinkRow{"ToAFile", true}, TLinkRow{"Dangling", false}), test::TRowName());

TEST_F(ConverterTarget, HardLinkedOutputIsRefusedAndKeptWhole) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(3) + "</gpx>");
  test::WriteFile(Path("a.kml"), OldContent);
  fs::create_hard_link(Path("a.kml"), Path("b.kml"));
  const test::TProcessResult run = Run({"-o", "a.kml", "in.gpx"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("hard links"), std::string::npos) << run.Err;
  EXPECT_EQ(fs::hard_link_count(Path("a.kml")), 2u);
  EXPECT_EQ(test::ReadFile(Path("b.kml")), OldContent);
}

// A named pipe stays a pipe and receives the whole document; nothing is created beside it.
TEST_F(ConverterTarget, NamedPipeReceivesTheDocument) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(3000) + "</gpx>");
  ASSERT_EQ(mkfifo(Path("out.kmz").c_str(), 0600), 0);
  // Opened before the converter runs, so that a converter that never opens it cannot hang us.
  const int reader = open(Path("out.kmz").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  std::string received;
  std::atomic<bool> running = true;
  std::thread drain([&] {
    char buffer[65536];
    for (pollfd ready{reader, POLLIN, 0};;) {
      const bool last = !running;
      poll(&ready, 1, 100);
      const ssize_t n = read(reader, buffer, sizeof buffer);
      if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
      if (n <= 0 && last) break;
    }
  });
  const test::TProcessResult run = Run({"-o", "out.kmz", "in.gpx"});
  running = false;
  drain.join();
  close(reader);
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_TRUE(fs::is_fifo(Path("out.kmz")));
  EXPECT_EQ(received.rfind("PK\x03\x04", 0), 0u);
  // Whole: the package ends with its end-of-central-directory record.
  ASSERT_GT(received.size(), 22u);
  EXPECT_EQ(received.compare(received.size() - 22, 4, "PK\x05\x06"), 0);
  EXPECT_EQ(Entries(FFolder.Path()), (std::vector<std::string>{"in.gpx", "out.kmz"}));
}

TEST_F(ConverterTarget, ReplacedFileKeepsItsPermissions) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(3) + "</gpx>");
  test::WriteFile(Path("private.kml"), OldContent);
  ASSERT_EQ(chmod(Path("private.kml").c_str(), 0600), 0);
  ASSERT_EQ(Run({"-o", "private.kml", "in.gpx"}).ExitCode, 0);
  struct stat info {};
  ASSERT_EQ(stat(Path("private.kml").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_NE(test::ReadFile(Path("private.kml")), OldContent);
}

// -n holds until the end: a file that appears at the target while the input is still read is
// kept, and the input counts as not converted.
TEST_F(ConverterTarget, NoClobberKeepsAFileThatAppearsMeanwhile) {
  ASSERT_EQ(mkfifo(Path("in.gpx").c_str(), 0600), 0);
  std::thread feed = Feed(Path("in.gpx"), [this](int fd) {
    Put(fd, WaypointsGpx(100));
    test::WriteFile(Path("out.kml"), OldContent);
    Put(fd, "</gpx>");
  });
  const test::TProcessResult run = Run({"-n", "-o", "out.kml", "in.gpx"});
  feed.join();
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("is kept"), std::string::npos) << run.Err;
  EXPECT_EQ(test::ReadFile(Path("out.kml")), OldContent);
  EXPECT_EQ(Entries(FFolder.Path()), (std::vector<std::string>{"in.gpx", "out.kml"}));
}

class EndedBySignal : public ConverterTarget, public testing::WithParamInterface<int> {};

// Stopped while its temporary file grows beside the target: the file goes, the process ends as
// the signal says, and the old target stays.
TEST_P(EndedBySignal, LeavesNothingBehind) {
  ASSERT_EQ(mkfifo(Path("in.gpx").c_str(), 0600), 0);
  test::WriteFile(Path("out.kml"), OldContent);
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t child = test::StartProcess(Convert, {"-o", "out.kml", "in.gpx"}, FFolder.Path(), nothing, nothing, nothing);
  close(nothing);
  const int fd = open(Path("in.gpx").c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  Put(fd, WaypointsGpx(20000));
  bool temporary = false;
  for (int wait = 0; wait < 200 && !temporary; ++wait) {
    for (const auto& entry : fs::directory_iterator(FFolder.Path())) temporary = temporary || IsOurTemporary(entry.path());
    if (!temporary) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(temporary) << "the converter wrote nothing beside its target";
  kill(child, GetParam());
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(fd);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
  EXPECT_EQ(Entries(FFolder.Path()), (std::vector<std::string>{"in.gpx", "out.kml"}));
  EXPECT_EQ(test::ReadFile(Path("out.kml")), OldContent);
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const testing::TestParamInfo<int>& row) {
                           return row.param == SIGINT ? "Interrupt" : row.param == SIGTERM ? "Terminate" : "HangUp";
                         });

// A lat or lon that is not a number in range stays out of the lines, where it would add or merge
// tuples; the route point keeps its placemark, and the count is reported.
TEST_F(ConverterTarget, CoordinatesThatAreNoNumbersStayOutOfTheLines) {
  test::WriteFile(Path("in.gpx"),
                  "<gpx><rte><rtept lat=\"1\" lon=\"2\"/><rtept lat=\"46.1 99,99\" lon=\"7\"/>"
                  "<rtept lat=\"3\" lon=\"4\"/></rte><trk><trkseg><trkpt lat=\"5\" lon=\"6\"/>"
                  "<trkpt lat=\"\" lon=\"7\"/><trkpt lon=\"8\"/><trkpt lat=\"91\" lon=\"9\"/>"
                  "<trkpt lat=\"1e1\" lon=\"9\"/><trkpt lat=\" -7.5 \" lon=\"+8\"/></trkseg></trk></gpx>");
  const test::TProcessResult run = Run({"-o", "out.kml", "in.gpx"});
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Err, "in.gpx: 5 points left out of the lines: lat or lon is not a number in range\n"
                     "in.gpx: saved out.kml\n");
  const std::string kml = test::ReadFile(Path("out.kml"));
  EXPECT_NE(kml.find("<coordinates>2,1,0 4,3,0 </coordinates>"), std::string::npos) << kml;
  EXPECT_NE(kml.find("<coordinates>7,46.1 99,99,0</coordinates>"), std::string::npos);
  EXPECT_NE(kml.find("<coordinates>6,5,0 +8, -7.5 ,0 </coordinates>"), std::string::npos) << kml;
}

class OutputTooLarge : public ConverterTarget, public testing::WithParamInterface<const char*> {};

// The file-size limit fails the write instead of killing the process; the message names the
// output and the system's reason, not the input, and nothing is left beside it.
TEST_P(OutputTooLarge, IsReportedWithTheOutputsNameAndReason) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(2000) + "</gpx>");
  const std::string output = std::string("out.") + GetParam();
  test::WriteFile(Path(output), OldContent);
  const test::TProcessResult run =
      test::RunProcess("/bin/sh", {"-c", "ulimit -f 16; exec '" + Convert + "' -o " + output + " in.gpx"}, FFolder.Path());
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, "tarvola-convert: in.gpx: Error saving KML file: " + output + ": File too large\n");
  EXPECT_EQ(test::ReadFile(Path(output)), OldContent);
  EXPECT_EQ(Entries(FFolder.Path()), (std::vector<std::string>{"in.gpx", output}));
}

INSTANTIATE_TEST_SUITE_P(Types, OutputTooLarge, testing::Values("kml", "kmz"),
                         [](const testing::TestParamInfo<const char*>& row) { return std::string(row.param); });

// A reader that stops early (head) is reported once; the scratch copy of the document goes.
TEST_F(ConverterTarget, ClosedStandardOutputIsReportedAndCleanedUp) {
  test::WriteFile(Path("in.gpx"), WaypointsGpx(20000) + "</gpx>");
  fs::create_directory(Path("tmp"));
  const std::string command = "TMPDIR=tmp '" + Convert + "' --format kml -o - in.gpx 2>err; echo $? >status";
  const test::TProcessResult run = test::RunProcess("/bin/sh", {"-c", "(" + command + ") | head -c 100 >/dev/null"},
                                                    FFolder.Path());
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(test::ReadFile(Path("status")), "1\n");
  EXPECT_EQ(test::ReadFile(Path("err")), "tarvola-convert: in.gpx: standard output closed\n");
  EXPECT_TRUE(Entries(Path("tmp")).empty());
}

}  // namespace
}  // namespace tarvola::cli
