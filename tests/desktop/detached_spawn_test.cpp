#include "desktop/detached_spawn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "xdg_fixture.h"

namespace tarvola::desktop {
namespace {

using TArgs = std::vector<std::string>;

TEST(DetachedSpawnTest, StartsTheProgramWithExactlyItsArguments) {
  test::TXdgFixture xdg;
  TArgs args{"a b", "\"q\"", "", "$HOME", "x;y|z", "*", "-", "--help"};
  ASSERT_TRUE(SpawnDetached(test::RecorderProgram(), args));
  auto got = test::WaitForRecord(xdg.RecordFile());
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, args);
}

TEST(DetachedSpawnTest, LeavesNoChildToReap) {
  test::TXdgFixture xdg;
  ASSERT_TRUE(SpawnDetached(test::RecorderProgram(), {}));
  ASSERT_TRUE(test::WaitForRecord(xdg.RecordFile()));
  // The started program belongs to another parent, and the helper in between was reaped.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST(DetachedSpawnTest, OurFilesStayClosedForTheProgram) {
  test::TXdgFixture xdg;
  int fd = open(xdg.File("").c_str(), O_RDONLY | O_DIRECTORY);  // inheritable on purpose
  ASSERT_GE(fd, 3);
  test::TXdgFixture::SetEnv("TARVOLA_PROBE_FD", std::to_string(fd));
  ASSERT_TRUE(SpawnDetached(test::RecorderProgram(), {"x"}));
  auto got = test::WaitForRecord(xdg.RecordFile());
  test::TXdgFixture::SetEnv("TARVOLA_PROBE_FD", std::nullopt);
  close(fd);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, (TArgs{"x", "closed"}));
}

TEST(DetachedSpawnTest, MissingProgramIsNotStarted) {
  EXPECT_FALSE(SpawnDetached("/nonexistent/program", {}));
  EXPECT_FALSE(SpawnDetached("tarvola-no-such-program", {}));
  EXPECT_FALSE(SpawnDetached("", {}));
}

TEST(DetachedSpawnTest, ExecFailureIsReported) {
  test::TTempFolder temp;
  // Executable, but no program image and no #! line: exec itself fails.
  test::WriteFile(temp.File("junk"), std::string("\x7f" "ELF garbage", 12));
  std::filesystem::permissions(temp.File("junk"), std::filesystem::perms::owner_all);
  EXPECT_FALSE(SpawnDetached(temp.File("junk").string(), {}));
}

TEST(DetachedSpawnTest, FindsProgramsInPath) {
  EXPECT_EQ(FindProgram(test::RecorderProgram()), test::RecorderProgram());
  std::string sh = FindProgram("sh");
  EXPECT_FALSE(sh.empty());
  EXPECT_EQ(sh.front(), '/');
  EXPECT_EQ(FindProgram("tarvola-no-such-program"), "");
}

TEST(SpawnShellTest, SplitsTheParameterTextByWindowsRules) {
  test::TXdgFixture xdg;
  TSpawnShell shell;
  ASSERT_TRUE(shell.Execute({0, test::RecorderProgram(), "\"C:\\My Trips\\a.kmz\" plain \"say \\\"hi\\\"\"", 10}));
  auto got = test::WaitForRecord(xdg.RecordFile());
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, (TArgs{"C:\\My Trips\\a.kmz", "plain", "say \"hi\""}));
}

TEST(SpawnShellTest, EmptyProgramFails) {
  TSpawnShell shell;
  EXPECT_FALSE(shell.Execute({0, "", "x", 5}));
}

}  // namespace
}  // namespace tarvola::desktop
