#include <functional>
#include <ostream>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/open_workflow.h"
#include "main_form_fixture.h"
#include "piped_file.h"
#include "test_support.h"

namespace tarvola::test {
namespace {

using OpenWorkflow = MainFormTest;

TEST_F(OpenWorkflow, StartsWithNothingLoadedAndEverythingDisabled) {
  EXPECT_EQ(Enabled(), "000000");
  EXPECT_EQ(Checked(), "11100");
  EXPECT_EQ(Tree().rowCount(), 0);
  EXPECT_FALSE(Ui().WaitPanel->isVisible());
  EXPECT_TRUE(Ui().OpenBt->isEnabled());
}

TEST_F(OpenWorkflow, OpenDialogAsksForGpxFilesAndLoadsTheChoice) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  ASSERT_EQ(Prompts.OpenRequests.size(), 1u);
  EXPECT_EQ(Prompts.OpenRequests[0].Filter, QStringLiteral("GPS exchange format (*.gpx)|*.gpx|All files (*.*)|*.*"));
  EXPECT_EQ(Prompts.OpenRequests[0].DefaultExt, QStringLiteral("gpx"));
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_EQ(RootText(), QStringLiteral("GPS data"));
  EXPECT_EQ(Groups(), QStringList({"Waypoints (2)", "Routes (1)", "Tracks (1)"}));
  EXPECT_EQ(Enabled(), "111111");
  EXPECT_EQ(Form->SourcePath(), Q(Folder.File("trip.gpx")));
}

TEST_F(OpenWorkflow, TracksOnlyEnablesTheTrackOptionsAndKeepsTheOthersChecked) {
  OpenWithDialog(Gpx("t.gpx", TracksOnlyGpx));
  EXPECT_EQ(Enabled(), "001111");
  EXPECT_EQ(Checked(), "11100");
  EXPECT_EQ(Groups(), QStringList({"Tracks (1)"}));
}

TEST_F(OpenWorkflow, GpxWithoutDataShowsTheRootOnlyAndEnablesNothing) {
  OpenWithDialog(Gpx("e.gpx", EmptyGpx));
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_EQ(RootText(), QStringLiteral("GPS data"));
  EXPECT_TRUE(Groups().isEmpty());
  EXPECT_EQ(Enabled(), "000000");
}

TEST_F(OpenWorkflow, CancelledDialogChangesNothing) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  const auto nodes = Ui().GpxTreeView->NodeCount();
  Form->OpenBtClick();  // no answer queued: the user cancels
  EXPECT_EQ(Prompts.OpenRequests.size(), 2u);
  EXPECT_EQ(Prompts.OpenRequests[1].FileName, Q(Folder.File("trip.gpx")));
  EXPECT_EQ(Ui().GpxTreeView->NodeCount(), nodes);
  EXPECT_EQ(Enabled(), "111111");
  EXPECT_TRUE(Form->Workspace().Data);
}

struct TFailureCase {
  const char* Name;
  std::string Bytes;  // empty: the file does not exist
  QStringList Messages;
};

inline void PrintTo(const TFailureCase& row, std::ostream* os) { *os << row.Name; }

class FailedLoad : public MainFormTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(FailedLoad, ReportsAndKeepsTheOldTreeWithEverythingDisabled) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  const QStringList before = Groups();
  const auto path = Folder.File("bad.gpx");
  if (!GetParam().Bytes.empty()) WriteFile(path, GetParam().Bytes);
  OpenWithDialog(path);
  QStringList shown;
  for (const auto& m : Prompts.Messages) {
    // The content line names the file and says why.
    shown << m.Title + QStringLiteral(" / ") + m.MainText + QStringLiteral(" / ") +
                 QString(m.Content).replace(Q(path), QStringLiteral("FILE"));
    EXPECT_EQ(m.Icon, ui::TDialogIcon::Error);
    EXPECT_EQ(m.Buttons, ui::ButtonsOk);
  }
  EXPECT_EQ(shown, GetParam().Messages);
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tarvola"));
  EXPECT_EQ(Groups(), before);
  EXPECT_EQ(Enabled(), "000000");
  EXPECT_FALSE(Form->Workspace().Data);
  EXPECT_TRUE(Ui().OpenBt->isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

QString LoadError(const char* reason) {
  return QStringLiteral("Load file... / Error loading GPX file. / FILE: ") + QString::fromUtf8(reason);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailedLoad,
    ::testing::Values(
        TFailureCase{"KmlDocument", KmlDocument, {LoadError("the document element is kml, not gpx")}},
        TFailureCase{"NotXml", "just some text\n", {LoadError("not a GPX file: it is not XML")}},
        TFailureCase{"UnclosedElement", "<?xml version=\"1.0\"?>\n<gpx>\n  <wpt lat=\"1\" lon=\"2\">\n</gpx>\n",
                     {LoadError("not well-formed XML at line 4, column 3")}},
        TFailureCase{"Missing", "",
                     {QStringLiteral("Load file... / Cannot open file / FILE: ") +
                      QString::fromStdString(test::MissingFileReason())}},
        TFailureCase{"Utf32BigEndian", std::string("\0\0\xFE\xFF\0\0\0<", 8),
                     {QStringLiteral("Load file... / Text encoding not supported / FILE: "
                                     "UTF-32 text in big-endian byte order")}}),
    test::TRowName());

#ifndef _WIN32

// A track of `points` points, about 45 bytes each.
std::string LongTrack(int points) {
  std::string gpx = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><name>Long</name><trkseg>\n";
  for (int i = 0; i < points; ++i) {
    gpx += "<trkpt lat=\"47." + std::to_string(1000000 + i) + "\" lon=\"11.5\"/>\n";
  }
  return gpx + "</trkseg></trk></gpx>\n";
}

// What the window looked like while the read was under way, seen from a timer.
struct TDuringRead {
  int Ticks = 0;
  qint64 LongestGap = 0;
  std::string Enabled;
  bool OpenEnabled = true, WaitShown = false, CancelShown = false, BusyCursor = false;
};

TEST_F(OpenWorkflow, EventLoopTurnsWhileAFileIsReadAndTheControlsStayDisabled) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  const std::string text = LongTrack(300000);
  TPipedFile pipe(Folder.File("long.gpx"), text.substr(0, text.size() / 2));
  TDuringRead seen;
  QElapsedTimer clock;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (!Form->Working()) return;
    seen.LongestGap = seen.Ticks++ == 0 ? 0 : std::max(seen.LongestGap, clock.elapsed());
    clock.restart();
    if (seen.Ticks == 1) {
      seen.Enabled = Enabled();
      seen.OpenEnabled = Ui().OpenBt->isEnabled();
      seen.WaitShown = Ui().WaitPanel->isVisible();
      seen.CancelShown = Ui().WaitPanel->CancelButton()->isVisible();
      seen.BusyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor;
      Drop({QUrl::fromLocalFile(Q(Gpx("dropped.gpx", TracksOnlyGpx)))});  // one load at a time
    }
    if (seen.Ticks == 10) pipe.Finish(text.substr(text.size() / 2));
  });
  clock.start();
  timer.start();
  OpenWithDialog(pipe.Path());
  EXPECT_GE(seen.Ticks, 10);
  EXPECT_LT(seen.LongestGap, 100);
  EXPECT_EQ(seen.Enabled, "000000");
  EXPECT_FALSE(seen.OpenEnabled);
  EXPECT_TRUE(seen.WaitShown);
  EXPECT_TRUE(seen.CancelShown);
  EXPECT_TRUE(seen.BusyCursor);
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_EQ(Groups(), QStringList({"Tracks (1)"}));
  EXPECT_EQ(Tree().index(0, 0, Tree().index(0, 0, Tree().RootIndex())).data().toString(), QStringLiteral("Long (300000)"));
  EXPECT_EQ(Form->SourcePath(), Q(pipe.Path()));
  EXPECT_FALSE(Ui().WaitPanel->CancelButton()->isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Cancel, Esc and closing the window all stop the read; the file loaded before stays.
TEST_F(OpenWorkflow, CancelledReadKeepsTheFileLoadedBefore) {
  const std::vector<std::function<void()>> stops = {
      [&] { Ui().WaitPanel->CancelButton()->click(); },
      [&] { QTest::keyClick(Ui().WaitPanel->CancelButton(), Qt::Key_Escape); },
      [&] { Form->close(); }};
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  for (std::size_t i = 0; i < stops.size(); ++i) {
    SCOPED_TRACE(i);
    const std::string text = LongTrack(100000);
    TPipedFile pipe(Folder.File("long" + std::to_string(i) + ".gpx"), text.substr(0, text.size() / 2));
    QTimer::singleShot(20, [&] {
      stops[i]();
      pipe.Finish(text.substr(text.size() / 2));
    });
    OpenWithDialog(pipe.Path());
    EXPECT_TRUE(Prompts.Messages.empty());
    EXPECT_EQ(Form->SourcePath(), Q(Folder.File("trip.gpx")));
    EXPECT_EQ(Groups(), QStringList({"Waypoints (2)", "Routes (1)", "Tracks (1)"}));
    EXPECT_EQ(Enabled(), "111111");
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("trip.gpx - Tarvola"));
    ASSERT_TRUE(Form->Workspace().Data);
    EXPECT_EQ(Form->Workspace().Data->Waypoints->size(), 2u);
  }
}

#endif

TEST_F(OpenWorkflow, WaitPanelHidesWhenTheEventLoopGoesIdle) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  EXPECT_TRUE(Ui().WaitPanel->isVisible());
  RunEventLoop();
  EXPECT_FALSE(Ui().WaitPanel->isVisible());
}

TEST_F(OpenWorkflow, ChangingAnOptionRebuildsTheTree) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  Ui().RoutesCheck->click();
  EXPECT_EQ(Groups(), QStringList({"Waypoints (2)", "Tracks (1)"}));
  Ui().RoutesCheck->click();
  EXPECT_EQ(Groups(), QStringList({"Waypoints (2)", "Routes (1)", "Tracks (1)"}));
  const QModelIndex routes = Tree().index(1, 0, Tree().RootIndex());
  EXPECT_FALSE(Ui().GpxTreeView->isExpanded(routes));
  EXPECT_EQ(Enabled(), "111111");
}

TEST_F(OpenWorkflow, UncheckedGroupStaysHiddenInTheNextFileUntilChecked) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  Ui().WaypointsCheck->click();
  OpenWithDialog(Gpx("other.gpx", FullGpx));
  EXPECT_EQ(Groups(), QStringList({"Routes (1)", "Tracks (1)"}));
  EXPECT_EQ((*Form->Workspace().Data->Waypoints).size(), 2u);
  Ui().WaypointsCheck->click();
  EXPECT_EQ(Groups().first(), QStringLiteral("Waypoints (2)"));
}

TEST_F(OpenWorkflow, DroppingThreeFilesOpensTheFirstWithoutADialog) {
  const auto first = Gpx("first.gpx", TracksOnlyGpx);
  Drop({QUrl::fromLocalFile(Q(first)), QUrl::fromLocalFile(Q(Gpx("second.gpx", FullGpx))),
        QUrl::fromLocalFile(Q(Gpx("third.gpx", FullGpx)))});
  EXPECT_TRUE(Prompts.OpenRequests.empty());
  EXPECT_EQ(Groups(), QStringList({"Tracks (1)"}));
  EXPECT_EQ(Form->SourcePath(), Q(first));
  // The next dialog starts in the dropped file's folder.
  Form->OpenBtClick();
  ASSERT_EQ(Prompts.OpenRequests.size(), 1u);
  EXPECT_EQ(Prompts.OpenRequests[0].InitialDir, Q(Folder.Path()) + QDir::separator());
}

TEST_F(OpenWorkflow, DroppedPathLosesItsTrailingBlanks) {
  const auto path = Gpx("trip.gpx", FullGpx);
  Drop({QUrl::fromLocalFile(Q(path) + QStringLiteral("  \t"))});
  EXPECT_TRUE(Prompts.Messages.empty());
  EXPECT_EQ(Form->SourcePath(), Q(path));
  EXPECT_EQ(Enabled(), "111111");
}

TEST_F(OpenWorkflow, DropAfterALoadReplacesTheData) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  Drop({QUrl::fromLocalFile(Q(Gpx("t.gpx", TracksOnlyGpx)))});
  EXPECT_EQ(Groups(), QStringList({"Tracks (1)"}));
  EXPECT_EQ(Enabled(), "001111");
}

}  // namespace
}  // namespace tarvola::test

namespace tarvola::test {
namespace {

// The workflow needs no window: the workspace, the user and a view are enough.
TEST(OpenWorkflowAlone, LoadsIntoTheWorkspaceAndTellsTheViewInOrder) {
  TTempFolder folder;
  WriteFile(folder.File("t.gpx"), TracksOnlyGpx);
  app::TWorkspace workspace;
  TScriptedPrompts prompts;
  TRecordingView view(prompts);
  app::RunOpenWorkflow(workspace, view, Q(folder.File("t.gpx")));
  ASSERT_TRUE(workspace.Data);
  EXPECT_FALSE(workspace.Loading);
  EXPECT_EQ(workspace.SourcePath, Q(folder.File("t.gpx")));
  EXPECT_TRUE(prompts.Messages.empty());
  EXPECT_EQ(view.Calls, QStringList({"front", "title", "reading", "wait", "read", "title", "fill", "options=001111"}));
}

TEST(OpenWorkflowAlone, FileThatIsNotThereIsReportedAndNothingFilled) {
  TTempFolder folder;
  app::TWorkspace workspace;
  TScriptedPrompts prompts;
  TRecordingView view(prompts);
  app::RunOpenWorkflow(workspace, view, Q(folder.File("gone.gpx")));
  EXPECT_FALSE(workspace.Data);
  EXPECT_FALSE(workspace.Loading);
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_EQ(prompts.Messages[0].MainText, QStringLiteral("Cannot open file"));
  EXPECT_FALSE(view.Calls.contains(QStringLiteral("fill")));
}

}  // namespace
}  // namespace tarvola::test
