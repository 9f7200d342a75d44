#include "app/ge_commands.h"

#include <QWidget>
#include <gtest/gtest.h>

#include "desktop/windows_desktop.h"
#include "fake_windows.h"
#include "scripted_prompts.h"
#include "xdg_fixture.h"

namespace tarvola::app {
namespace {

using namespace desktop;

using TArgs = std::vector<std::string>;
const char* const KmzType = "application/vnd.google-earth.kmz";

// What every test needs: a window, a scripted user and the window's two fields.
class GeCommandsBase : public testing::Test {
protected:
  void Run(void (*command)(TGeCommandContext&), TDesktop* desktop = nullptr) {
    TGeCommandContext context{&FWindow, FPrompts, FLastSaved, FOpenDialogFileName, desktop};
    command(context);
  }
  void ExpectOneError(const char* text) {
    ASSERT_EQ(FPrompts.Messages.size(), 1u);
    const auto& m = FPrompts.Messages[0];
    EXPECT_EQ(m.Title, "Tarvola");
    EXPECT_EQ(m.MainText, text);
    EXPECT_EQ(m.Content, "");
    EXPECT_EQ(m.Icon, ui::TDialogIcon::Error);
    EXPECT_EQ(m.Buttons, ui::ButtonsOk);
  }

  QWidget FWindow;
  test::TScriptedPrompts FPrompts;
  QString FLastSaved;
  QString FOpenDialogFileName;
};

// --- On this machine's desktop (XDG), with a recorder registered for KMZ files ---

class XdgGeCommandsTest : public GeCommandsBase {
protected:
  void RegisterEarth(const std::string& exec = "") {
    if (exec.empty()) FXdg.AddRecorderEntry("earth.desktop", "--fly %f");
    else FXdg.AddEntry("earth.desktop", "[Desktop Entry]\nType=Application\nName=Earth\nExec=" + exec + "\n");
    FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + KmzType + "=earth.desktop;\n");
  }
  QString SavedFile(const std::string& name) {
    return QString::fromStdString(FXdg.Write(FXdg.File(name), "PK").string());
  }

  test::TXdgFixture FXdg;
};

TEST_F(XdgGeCommandsTest, OpenGoogleEarthStartsTheRegisteredProgramAlone) {
  RegisterEarth();
  Run(OpenGeBtClick);
  EXPECT_TRUE(FPrompts.Messages.empty());
  auto args = test::WaitForRecord(FXdg.RecordFile());
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, TArgs{});
}

TEST_F(XdgGeCommandsTest, OpenGoogleEarthWithoutAssociation) {
  FXdg.AddRecorderEntry("earth.desktop", "%f");
  Run(OpenGeBtClick);
  ExpectOneError("Error, Google Earth seems to be not installed.");
  EXPECT_TRUE(test::NothingRecorded(FXdg.RecordFile()));
}

TEST_F(XdgGeCommandsTest, OpenGoogleEarthWithMissingProgram) {
  RegisterEarth("/nonexistent/earth %f");
  Run(OpenGeBtClick);
  ExpectOneError("Error, Google Earth wasn't found.");
}

TEST_F(XdgGeCommandsTest, OpenGoogleEarthWithUninstalledEntry) {
  FXdg.SetUserMimeApps(std::string("[Default Applications]\n") + KmzType + "=earth.desktop;\n");
  Run(OpenGeBtClick);
  ExpectOneError("Error, Google Earth wasn't found.");
}

TEST_F(XdgGeCommandsTest, LastSavedFileOpensDirectly) {
  RegisterEarth();
  FLastSaved = SavedFile("my trip.kmz");
  Run(OpenLastSavedBtClick);
  EXPECT_TRUE(FPrompts.OpenRequests.empty());
  EXPECT_TRUE(FPrompts.Messages.empty());
  auto args = test::WaitForRecord(FXdg.RecordFile());
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, (TArgs{"--fly", FLastSaved.toStdString()}));
}

TEST_F(XdgGeCommandsTest, PickedFileBecomesLastSavedAndOpens) {
  RegisterEarth();
  QString picked = SavedFile("picked.kml");
  FPrompts.OpenAnswers.push_back(ui::TFileDialogAnswer{picked, 3});
  Run(OpenLastSavedBtClick);
  ASSERT_EQ(FPrompts.OpenRequests.size(), 1u);
  EXPECT_EQ(FPrompts.OpenRequests[0].Filter,
            "KMZ/KML files (Keyhole Markup Language)|*.kmz; *.kml|KMZ files (Keyhole Markup Language)|*.kmz|"
            "KML files (Keyhole Markup Language)|*.kml");
  EXPECT_EQ(FPrompts.OpenRequests[0].DefaultExt, "kmz");
  EXPECT_EQ(FLastSaved, picked);
  EXPECT_EQ(FOpenDialogFileName, picked);
  auto args = test::WaitForRecord(FXdg.RecordFile());
  ASSERT_TRUE(args);
  EXPECT_EQ(*args, (TArgs{"--fly", picked.toStdString()}));
}

TEST_F(XdgGeCommandsTest, LastSavedWithoutAssociation) {
  FLastSaved = SavedFile("a.kmz");
  Run(OpenLastSavedBtClick);
  ExpectOneError("Error, Google Earth seems to be not installed.");
}

TEST_F(XdgGeCommandsTest, LastSavedWithMissingProgramFailsSilently) {
  RegisterEarth("/nonexistent/earth %f");
  FLastSaved = SavedFile("a.kmz");
  Run(OpenLastSavedBtClick);
  EXPECT_TRUE(FPrompts.Messages.empty());
}

// --- On the Windows logic, with a fixture hive, a fake system and a recording shell ---

class WinGeCommandsTest : public GeCommandsBase {
protected:
  void Run(void (*command)(TGeCommandContext&)) {
    TWindowsDesktop desktop(FHive, FSystem, FShell);
    GeCommandsBase::Run(command, &desktop);
  }

  static constexpr const char* Program = "C:\\Program Files\\Google\\Google Earth\\client\\googleearth.exe";
  TRegFileHive FHive = test::FixtureHive("google_earth.reg");
  test::TFakeSystem FSystem;
  test::TRecordingShell FShell;
};

TEST_F(WinGeCommandsTest, OpenGoogleEarthStartsTheExistingProgram) {
  FSystem.AddFile(Program);
  Run(OpenGeBtClick);
  EXPECT_TRUE(FPrompts.Messages.empty());
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Program, "c:\\program files\\google\\google earth\\client\\googleearth.exe");
  EXPECT_EQ(FShell.Requests[0].Parameters, "");
  EXPECT_EQ(FShell.Requests[0].ShowMode, 10);
}

TEST_F(WinGeCommandsTest, ProgramFileMissingStopsOnlyOpenGoogleEarth) {
  Run(OpenGeBtClick);
  ExpectOneError("Error, Google Earth wasn't found.");
  EXPECT_TRUE(FShell.Requests.empty());

  FPrompts.Messages.clear();
  FLastSaved = "C:\\Trips\\my trip.kmz";
  FSystem.AddFile("C:\\Trips\\my trip.kmz");
  Run(OpenLastSavedBtClick);
  EXPECT_TRUE(FPrompts.Messages.empty());
  ASSERT_EQ(FShell.Requests.size(), 1u);
  EXPECT_EQ(FShell.Requests[0].Program, Program);
  EXPECT_EQ(FShell.Requests[0].Parameters, "\"C:\\Trips\\my trip.kmz\"");
  EXPECT_EQ(FShell.Requests[0].ShowMode, 10);
}

TEST_F(WinGeCommandsTest, NotInstalled) {
  FHive = TRegFileHive::FromText("Windows Registry Editor Version 5.00\n");
  Run(OpenGeBtClick);
  ExpectOneError("Error, Google Earth seems to be not installed.");
  EXPECT_TRUE(FShell.Requests.empty());
}

TEST_F(WinGeCommandsTest, DeletedLastSavedAsksAndCancelChangesNothing) {
  FLastSaved = "C:\\Trips\\deleted.kmz";
  FOpenDialogFileName = "C:\\Gpx\\walk.gpx";
  Run(OpenLastSavedBtClick);
  ASSERT_EQ(FPrompts.OpenRequests.size(), 1u);
  EXPECT_EQ(FPrompts.OpenRequests[0].FileName, "C:\\Gpx\\walk.gpx");
  EXPECT_EQ(FLastSaved, "C:\\Trips\\deleted.kmz");
  EXPECT_EQ(FOpenDialogFileName, "C:\\Gpx\\walk.gpx");
  EXPECT_TRUE(FPrompts.Messages.empty());
  EXPECT_TRUE(FShell.Requests.empty());
}

TEST_F(WinGeCommandsTest, PickedFileIsKeptForTheNextClick) {
  FSystem.AddFile("C:\\Trips\\b.kmz");
  FPrompts.OpenAnswers.push_back(ui::TFileDialogAnswer{"C:\\Trips\\b.kmz", 2});
  Run(OpenLastSavedBtClick);
  Run(OpenLastSavedBtClick);
  EXPECT_EQ(FPrompts.OpenRequests.size(), 1u);
  ASSERT_EQ(FShell.Requests.size(), 2u);
  EXPECT_EQ(FShell.Requests[1].Parameters, "\"C:\\Trips\\b.kmz\"");
}

TEST_F(WinGeCommandsTest, CommandWithoutProgramIsNotFound) {
  FHive = TRegFileHive::FromText(
      "Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\.kmz]\n@=\"kmzfile\"\n"
      "[HKEY_CLASSES_ROOT\\kmzfile\\shell\\open\\command]\n@=\"earth-launcher \\\"%1\\\"\"\n");
  FLastSaved = "C:\\Trips\\a.kmz";
  FSystem.AddFile("C:\\Trips\\a.kmz");
  Run(OpenLastSavedBtClick);
  ExpectOneError("Error, Google Earth wasn't found.");
  EXPECT_TRUE(FShell.Requests.empty());
}

}  // namespace
}  // namespace tarvola::app
