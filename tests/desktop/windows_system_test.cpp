// The Windows desktop against the system itself: the registry of the Wine prefix the test run
// uses, its system folders, its settings and ShellExecuteW. The test association and settings
// are written with reg.exe, as an installer or an administrator would, and removed again.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "desktop/desktop.h"
#include "desktop/win_settings.h"
#include "process_runner.h"
#include "test_support.h"

namespace tarvola::desktop {
namespace {

namespace fs = std::filesystem;

constexpr const char* Extension = ".tarvolatest";
constexpr const char* ProgId = "Tarvola.TestDocument";

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path SystemFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetSystemDirectoryW(buffer, MAX_PATH);
  return buffer;
}

// Runs reg.exe with `args` and gives its exit code.
int Reg(const std::vector<std::string>& args) {
  return test::RunProcess(Utf8(SystemFolder() / L"reg.exe"), args).ExitCode;
}

class WindowsSystemDesktop : public testing::Test {
protected:
  void SetUp() override {
    // The stand-in program under a name with a space and letters outside ASCII.
    FProgram = FFolder.File("Arg Recorder \xE2\x9C\x93.exe");
    fs::copy_file(fs::absolute(TARVOLA_ARG_RECORDER), FProgram);
    FCommand = "\"" + Utf8(FProgram) + "\" \"%1\"";
    ASSERT_EQ(Reg({"add", std::string("HKCR\\") + Extension, "/ve", "/d", ProgId, "/f"}), 0);
    ASSERT_EQ(Reg({"add", std::string("HKCR\\") + ProgId + "\\shell\\open\\command", "/ve", "/d", FCommand, "/f"}), 0);
  }
  void TearDown() override {
    Reg({"delete", std::string("HKCR\\") + Extension, "/f"});
    Reg({"delete", std::string("HKCR\\") + ProgId, "/f"});
  }

  test::TTempFolder FFolder;
  fs::path FProgram;
  std::string FCommand;
  std::unique_ptr<TDesktop> FDesktop = CreateSystemDesktop();
};

TEST_F(WindowsSystemDesktop, ResolvesTheAssociationWrittenByReg) {
  const TAssociation association = FDesktop->ResolveAssociation(Extension);
  EXPECT_TRUE(association.Found);
  EXPECT_EQ(association.Command, FCommand);
}

TEST_F(WindowsSystemDesktop, UnknownExtensionIsNotFound) {
  EXPECT_FALSE(FDesktop->ResolveAssociation(".tarvolanothing").Found);
}

TEST_F(WindowsSystemDesktop, FindsProgramsInTheSystemFolders) {
  const std::string notepad = FDesktop->ExeFromCommand("notepad.exe %1");
  EXPECT_TRUE(fs::equivalent(test::Utf8Path(notepad), SystemFolder() / L"notepad.exe")) << notepad;
  const std::string expanded = FDesktop->ExeFromCommand("%SystemRoot%\\system32\\notepad.exe \"%1\"");
  EXPECT_TRUE(FDesktop->FileExists(expanded)) << expanded;
  EXPECT_FALSE(FDesktop->FileExists(Utf8(SystemFolder())));  // a folder is no file
}

TEST_F(WindowsSystemDesktop, StartsTheProgramThroughTheShellWithTheDocument) {
  const fs::path record = FFolder.File("record");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TARVOLA_RECORD_FILE", record.c_str()));
  const std::string document = Utf8(FFolder.File("Z\xC3\xBCrich \xE2\x9C\x93.kml"));
  test::WriteFile(test::Utf8Path(document), "<kml/>");

  const TAssociation association = FDesktop->ResolveAssociation(Extension);
  const TLaunchCommand launch = FDesktop->BuildLaunchCommand(association.Command, document);
  ASSERT_TRUE(launch.Ok);
  EXPECT_EQ(launch.Program, Utf8(FProgram));
  EXPECT_EQ(launch.Parameters, "\"" + document + "\"");
  ASSERT_TRUE(FDesktop->ShellOpen({0, launch.Program, launch.Parameters, ShowNormal}));

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!fs::exists(record) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  SetEnvironmentVariableW(L"TARVOLA_RECORD_FILE", nullptr);
  ASSERT_TRUE(fs::exists(record)) << "the program did not start";
  EXPECT_EQ(test::ReadFile(record), document + std::string(1, '\0'));
}

TEST_F(WindowsSystemDesktop, ShellRefusesAProgramThatIsNotThere) {
  EXPECT_FALSE(FDesktop->ShellOpen({0, Utf8(FFolder.File("missing.exe")), "", ShowNormal}));
}

TEST(WindowsSettings, IconTitleFontIsTheOneTheSystemHolds) {
  LOGFONTW previous{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof previous, &previous, 0));
  LOGFONTW chosen = previous;
  wcscpy(chosen.lfFaceName, L"Tarvola \u00DC Test");
  chosen.lfHeight = -17;
  chosen.lfWeight = FW_BOLD;
  chosen.lfItalic = TRUE;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETICONTITLELOGFONT, sizeof chosen, &chosen, 0));
  const std::optional<win::TSystemFont> font = win::IconTitleFont();
  SystemParametersInfoW(SPI_SETICONTITLELOGFONT, sizeof previous, &previous, 0);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Face, "Tarvola \xC3\x9C Test");
  EXPECT_EQ(font->PixelHeight, 17);
  EXPECT_TRUE(font->Bold);
  EXPECT_TRUE(font->Italic);
}

TEST(WindowsSettings, DefaultGuiFontHasAFaceAndASize) {
  const std::optional<win::TSystemFont> font = win::DefaultGuiFont();
  ASSERT_TRUE(font);
  EXPECT_FALSE(font->Face.empty());
  EXPECT_GT(font->PixelHeight, 0);
  EXPECT_FALSE(font->Bold);
}

const std::string InternetSettings = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class WindowsInternetSettings : public testing::Test {
protected:
  void TearDown() override {
    Reg({"delete", InternetSettings, "/v", "ProxyEnable", "/f"});
    Reg({"delete", InternetSettings, "/v", "ProxyServer", "/f"});
  }
};

TEST_F(WindowsInternetSettings, ReadsTheSwitchAndTheServers) {
  ASSERT_EQ(Reg({"add", InternetSettings, "/v", "ProxyEnable", "/t", "REG_DWORD", "/d", "1", "/f"}), 0);
  ASSERT_EQ(Reg({"add", InternetSettings, "/v", "ProxyServer", "/d", "http=proxy.test:8080;https=proxy.test:8443", "/f"}),
            0);
  const win::TInternetSettings settings = win::ReadInternetSettings();
  EXPECT_EQ(settings.ProxyEnable, 1);
  EXPECT_EQ(settings.ProxyServer, "http=proxy.test:8080;https=proxy.test:8443");
}

TEST_F(WindowsInternetSettings, SwitchWrittenAsTextCountsToo) {
  ASSERT_EQ(Reg({"add", InternetSettings, "/v", "ProxyEnable", "/d", "1", "/f"}), 0);
  EXPECT_EQ(win::ReadInternetSettings().ProxyEnable, 1);
}

TEST_F(WindowsInternetSettings, NothingConfiguredIsSwitchedOff) {
  const win::TInternetSettings settings = win::ReadInternetSettings();
  EXPECT_EQ(settings.ProxyEnable, 0);
  EXPECT_EQ(settings.ProxyServer, "");
}

}  // namespace
}  // namespace tarvola::desktop
