#include <cerrno>
#ifdef _WIN32
#include <windows.h>
#endif

#include <QApplication>

#include "app/convert_mode.h"
#include "app/open_workflow.h"
#include "app/profile_menu.h"
#include "app/save_command.h"
#include "io/system_text.h"
#include "main_form_fixture.h"
#include "process_runner.h"
#include "test_streams.h"

namespace tarvola::test {
namespace {

class SaveCommand : public MainFormTest {
protected:
  void SetUp() override { OpenWithDialog(Gpx("trip.gpx", FullGpx)); }

  // The entry names of a ZIP archive, read by Python's own zipfile module.
  static QString ZipEntries(const std::filesystem::path& path) {
    const TProcessResult python = RunProcess(Python3Program(), {"-c",
                                                                "import sys, zipfile\nz = zipfile.ZipFile(sys.argv[1])\n"
                                                                "assert z.testzip() is None\nprint(','.join(z.namelist()), end='')",
                                                                path.string()});
    if (python.ExitCode != 0) return QStringLiteral("<not a zip archive>");
    return QString::fromStdString(python.Out);
  }
  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder.File("tmp"))) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(SaveCommand, DialogStartsBesideTheGpxFileWithItsName) {
  Form->SaveBtClick();  // cancelled
  ASSERT_EQ(Prompts.SaveRequests.size(), 1u);
  const ui::TFileDialogRequest& r = Prompts.SaveRequests[0];
  EXPECT_EQ(r.InitialDir, Q(Folder.Path()));
  EXPECT_EQ(r.FileName, QStringLiteral("trip.kmz"));
  EXPECT_EQ(r.DefaultExt, QStringLiteral("kmz"));
  EXPECT_EQ(r.FilterIndex, 1);
  EXPECT_EQ(r.Filter, QStringLiteral("KMZ files (Keyhole Markup Language)(*.kmz)|*.kmz|"
                                     "KML files (Keyhole Markup Language)(*.kml)|*.kml"));
}

TEST_F(SaveCommand, KmzTypeWritesAZipWithOneDocKmlAndLeavesNoTemporaryFile) {
  TARVOLA_REQUIRE_TOOL(Python3, "the KMZ is read back with its zipfile module");
  Save(Folder.File("trip"), 1);
  const auto target = Folder.File("trip.kmz");
  ASSERT_TRUE(std::filesystem::exists(target));
  EXPECT_EQ(ZipEntries(target), QStringLiteral("doc.kml"));
  EXPECT_EQ(Form->LastSaved(), Q(target));
  EXPECT_TRUE(TempFiles().empty());
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_TRUE(Ui().SaveBt->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SaveCommand, KmlTypeWritesTheDocumentAndIsOfferedAgainNextTime) {
  Save(Folder.File("trip"), 2);
  const auto target = Folder.File("trip.kml");
  ASSERT_TRUE(std::filesystem::exists(target));
  const std::string text = ReadFile(target);
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("<name>Hut</name>"), std::string::npos);
  EXPECT_EQ(Form->LastSaved(), Q(target));
  Form->SaveBtClick();
  ASSERT_EQ(Prompts.SaveRequests.size(), 2u);
  EXPECT_EQ(Prompts.SaveRequests[1].FilterIndex, 2);
  EXPECT_TRUE(TempFiles().empty());
}

// A KML file that is a ZIP archive, or the reverse, is refused by every reader.
TEST_F(SaveCommand, TypedKmlOrKmzExtensionDecidesTheTypeWhateverTheFilter) {
  TARVOLA_REQUIRE_TOOL(Python3, "the KMZ is read back with its zipfile module");
  Save(Folder.File("route.kml"), 1);
  EXPECT_EQ(ReadFile(Folder.File("route.kml")).rfind("<?xml", 0), 0u);
  Save(Folder.File("route.KMZ"), 2);
  EXPECT_EQ(ZipEntries(Folder.File("route.KMZ")), QStringLiteral("doc.kml"));
  Save(Folder.File("Tour 15.07.2023"), 2);
  EXPECT_EQ(ReadFile(Folder.File("Tour 15.07.2023.kml")).rfind("<?xml", 0), 0u);
  EXPECT_TRUE(Prompts.Messages.empty());
}

// The "+" menu's KML document reaches the file, and the next window starts with it.
TEST_F(SaveCommand, ProfileChosenInTheMenuReachesTheDocumentAndIsRemembered) {
  app::TProfileMenu& menu = Form->ProfileMenu();
  menu.ProfileAction(kml::TProfile::Web)->trigger();
  menu.AltitudeAction(kml::TAltitude::Absolute)->trigger();
  Save(Folder.File("web"), 2);
  const std::string text = ReadFile(Folder.File("web.kml"));
  EXPECT_NE(text.find("<kml xmlns=\"http://www.opengis.net/kml/2.2\">"), std::string::npos);
  EXPECT_NE(text.find("<altitudeMode>absolute</altitudeMode>"), std::string::npos);
  {
    app::TMainForm next(Prompts);
    EXPECT_EQ(next.ExportOptions().Output.Profile, kml::TProfile::Web);
    EXPECT_EQ(next.ExportOptions().Output.Altitude, kml::TAltitude::Absolute);
    EXPECT_TRUE(next.ProfileMenu().ProfileAction(kml::TProfile::Web)->isChecked());
  }
  menu.ProfileAction(kml::TProfile::Classic)->trigger();
  menu.AltitudeAction(kml::TAltitude::Clamp)->trigger();
  Save(Folder.File("classic"), 2);
  EXPECT_NE(ReadFile(Folder.File("classic.kml")).find("http://earth.google.com/kml/2.1"), std::string::npos);
}

// On every platform the window writes what the converter writes for the same file and choices
// (the Windows converter is compared with the Linux one elsewhere).
TEST_F(SaveCommand, WindowWritesWhatTheConverterWrites) {
  const auto gpx = test::SourceDir() / "examples" / "alpine-hike.gpx";
  OpenWithDialog(gpx);
  Ui().TimeCheck->click();
  ASSERT_EQ(Checked(), "11101");
  Save(Folder.File("window"), 2);
  Save(Folder.File("window"), 1);
  for (const char* type : {"kml", "kmz"}) {
    const std::string out = std::string("converter.") + type;
    const TProcessResult run = RunProcess(TARVOLA_CONVERT_EXE, {"--time-stamps", "-o", out, gpx.string()}, Folder.Path());
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
  }
  const std::string kml = ReadFile(Folder.File("window.kml"));
  EXPECT_NE(kml.find("<LineString>"), std::string::npos);
  EXPECT_EQ(WithoutCreationDate(kml), WithoutCreationDate(ReadFile(Folder.File("converter.kml"))));
  const std::string kmz = KmzDocument(ReadFile(Folder.File("window.kmz")));
  EXPECT_EQ(WithoutCreationDate(kmz), WithoutCreationDate(KmzDocument(ReadFile(Folder.File("converter.kmz")))));
  EXPECT_EQ(WithoutCreationDate(kmz), WithoutCreationDate(kml));
}

TEST_F(SaveCommand, CancelledDialogWritesAndRecordsNothing) {
  Save(Folder.File("first"), 1);
  const QString saved = Form->LastSaved();
  Form->SaveBtClick();
  EXPECT_EQ(Form->LastSaved(), saved);
  EXPECT_FALSE(std::filesystem::exists(Folder.File("trip.kmz")));
}

// The system's words for a folder that is not there.
QString NoSuchFolder() {
#ifdef _WIN32
  return QString::fromStdString(io::SystemErrorText(ERROR_PATH_NOT_FOUND));
#else
  return QString::fromStdString(io::SystemErrorText(ENOENT));
#endif
}

TEST_F(SaveCommand, FailureNamesTheTargetAndTheReasonAndGivesTheButtonAndCursorBack) {
  const auto target = Folder.File("no-such-folder") / "trip";
  Save(target, 2);
  Save(target, 1);
  ASSERT_EQ(Prompts.Messages.size(), 2u);
  EXPECT_EQ(Prompts.Messages[0].Title, QStringLiteral("Save file..."));
  EXPECT_EQ(Prompts.Messages[0].MainText, QStringLiteral("Error saving KML file."));
  EXPECT_EQ(Prompts.Messages[0].Content, Q(target) + QStringLiteral(".kml: ") + NoSuchFolder());
  EXPECT_EQ(Prompts.Messages[1].Title, QStringLiteral("Save file..."));
  EXPECT_EQ(Prompts.Messages[1].MainText, QStringLiteral("Error saving KML file."));
  EXPECT_EQ(Prompts.Messages[1].Content, Q(target) + QStringLiteral(".kmz: ") + NoSuchFolder());
  for (const auto& message : Prompts.Messages) EXPECT_EQ(message.Icon, ui::TDialogIcon::Error);
  EXPECT_FALSE(std::filesystem::exists(Folder.File("no-such-folder")));
  EXPECT_TRUE(Ui().SaveBt->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(TempFiles().empty());
}

// The temporary folder holds what a long track's line exceeds of memory.
TEST_F(SaveCommand, TemporaryFolderThatCannotBeWrittenIsNamedInTheReason) {
  std::string gpx = "<gpx><trk><trkseg>";
  for (int i = 0; i < 60000; ++i) gpx += "<trkpt lat=\"47.312345\" lon=\"8.512345\"/>";
  OpenWithDialog(Gpx("trip.gpx", (gpx + "</trkseg></trk></gpx>").c_str()));
  std::filesystem::remove_all(Folder.File("tmp"));
  Save(Folder.File("trip"), 1);
  ASSERT_EQ(Prompts.Messages.size(), 1u);
  EXPECT_EQ(Prompts.Messages[0].MainText, QStringLiteral("Error saving KML file."));
  const QString why = QStringLiteral(": cannot write to the temporary folder ") + Q(Folder.File("tmp")) +
                      QStringLiteral(": ") + NoSuchFolder();
  EXPECT_EQ(Prompts.Messages[0].Content, Q(Folder.File("trip.kmz")) + why);
  EXPECT_FALSE(std::filesystem::exists(Folder.File("trip.kmz")));
}

// The file manager's "Convert to KMZ": no window, silence on success, one message for failures.
TEST_F(SaveCommand, ConvertToKmzSavesBesideEachFileAndTellsOnlyTheFailures) {
  TARVOLA_REQUIRE_TOOL(Python3, "the KMZ is read back with its zipfile module");
  const QString dated = Q(Gpx("Tour 15.07.2023.gpx", FullGpx));
  EXPECT_EQ(app::ConvertToKmz({dated}, Prompts), 0);
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_EQ(ZipEntries(Folder.File("Tour 15.07.2023.kmz")), QStringLiteral("doc.kml"));

  std::filesystem::remove(Folder.File("Tour 15.07.2023.kmz"));
  const QString empty = Q(Gpx("empty.gpx", ""));
  const QString missing = Q(Folder.File("missing.gpx"));
  EXPECT_EQ(app::ConvertToKmz({empty, dated, missing}, Prompts), 1);
  ASSERT_EQ(Prompts.Messages.size(), 1u);
  EXPECT_EQ(Prompts.Messages[0].Title, QStringLiteral("Convert to KMZ"));
  EXPECT_EQ(Prompts.Messages[0].MainText, QStringLiteral("2 GPX files could not be converted."));
  EXPECT_EQ(Prompts.Messages[0].Content, empty + QStringLiteral(": Error loading GPX file: the file is empty\n") +
                                             missing + QStringLiteral(": Cannot open file: ") +
                                             QString::fromStdString(test::MissingFileReason()));
  EXPECT_EQ(Prompts.Messages[0].Owner, nullptr);
  EXPECT_TRUE(std::filesystem::exists(Folder.File("Tour 15.07.2023.kmz")));
  EXPECT_FALSE(std::filesystem::exists(Folder.File("empty.kmz")));
}

// The command needs no window: it writes the workspace's data with the view's options.
TEST(SaveCommandAlone, WritesTheWorkspaceDataAndGivesTheButtonBack) {
  TTempFolder folder;
  WriteFile(folder.File("trip.gpx"), FullGpx);
  std::filesystem::create_directory(folder.File("tmp"));
  app::TWorkspace workspace;
  workspace.TempDir = Q(folder.File("tmp")) + QStringLiteral("/");
  TScriptedPrompts prompts;
  TRecordingView view(prompts);
  app::RunOpenWorkflow(workspace, view, Q(folder.File("trip.gpx")));
  ASSERT_TRUE(workspace.Data);
  view.Calls.clear();
  prompts.SaveAnswers.push_back(ui::TFileDialogAnswer{Q(folder.File("trip")), 2});
  app::RunSaveCommand(workspace, view);
  EXPECT_TRUE(prompts.Messages.empty());
  EXPECT_EQ(view.Calls, QStringList({"save=0", "save=1"}));
  EXPECT_EQ(workspace.LastSaved, Q(folder.File("trip.kml")));
  EXPECT_EQ(workspace.SaveFilterIndex, 2);
  EXPECT_NE(ReadFile(folder.File("trip.kml")).find("<kml"), std::string::npos);
}

}  // namespace
}  // namespace tarvola::test
