#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>

#include "app/main_form.h"
#include "app/wait_panel.h"
#include "app/workflow_view.h"
#include "event_loop.h"
#include "scripted_prompts.h"
#include "test_support.h"
#include "view/gps_tree_view.h"

namespace tarvola::test {

inline constexpr const char* FullGpx = R"(<?xml version="1.0" encoding="UTF-8"?>
<gpx version="1.1" creator="test" xmlns="http://www.topografix.com/GPX/1/1">
  <wpt lat="47.1" lon="11.2"><name>Hut</name><ele>2100</ele></wpt>
  <wpt lat="47.2" lon="11.3"><name>Lake</name></wpt>
  <rte><name>Pass</name><rtept lat="47.1" lon="11.2"><name>R1</name></rtept></rte>
  <trk><name>Walk</name>
    <trkseg><trkpt lat="47.1" lon="11.2"><ele>2000</ele><time>2021-06-05T10:00:00Z</time></trkpt>
            <trkpt lat="47.2" lon="11.3"><ele>2010</ele><time>2021-06-05T10:01:00Z</time></trkpt></trkseg>
  </trk>
</gpx>
)";

inline constexpr const char* TracksOnlyGpx = R"(<?xml version="1.0"?>
<gpx version="1.1"><trk><name>Only</name><trkseg><trkpt lat="1" lon="2"/></trkseg></trk></gpx>
)";

inline constexpr const char* EmptyGpx = R"(<?xml version="1.0"?><gpx version="1.1"></gpx>
)";

inline constexpr const char* KmlDocument = R"(<?xml version="1.0"?><kml><Document/></kml>
)";

inline QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The workflows' view with no window behind it: records what they ask of it, in order.
class TRecordingView : public app::TWorkflowView {
public:
  explicit TRecordingView(test::TScriptedPrompts& prompts) : FPrompts(prompts) {}

  QStringList Calls;
  std::uint64_t Nodes = 0;
  kml::TExportOptions Options;

  std::optional<ui::TFileDialogAnswer> AskOpenFile(const ui::TFileDialogRequest& request) override {
    return FPrompts.AskOpenFile(nullptr, request);
  }
  std::optional<ui::TFileDialogAnswer> AskSaveFile(const ui::TFileDialogRequest& request) override {
    return FPrompts.AskSaveFile(nullptr, request);
  }
  void ShowError(const QString& title, const QString& text, const QString& content) override {
    app::ShowError(FPrompts, nullptr, title, text, content);
  }
  void BringToFront() override { Calls << QStringLiteral("front"); }
  void SetReading(bool reading) override { Calls << (reading ? QStringLiteral("reading") : QStringLiteral("read")); }
  void SetSaveEnabled(bool enabled) override { Calls << QStringLiteral("save=%1").arg(enabled); }
  void EnableOptions(const app::TApplicability& a) override {
    Calls << QStringLiteral("options=%1%2%3%4%5%6").arg(a.Waypoints).arg(a.Routes).arg(a.Tracks).arg(a.JoinSegments)
                 .arg(a.TimeStamps).arg(a.Save);
  }
  void ShowWaitPanel() override { Calls << QStringLiteral("wait"); }
  std::uint64_t TreeNodeCount() const override { return Nodes; }
  void ShowLoadedFileName() override { Calls << QStringLiteral("title"); }
  void FillGpxTree() override { Calls << QStringLiteral("fill"); }
  kml::TExportOptions ExportOptions() const override { return Options; }
  void RunLongWork(std::uint64_t, const app::TLongWork& work) override {
    app::TWorkProgress progress;
    work(progress);
  }

private:
  test::TScriptedPrompts& FPrompts;
};

// The window with its drop handler reachable: drops cannot be sent through the application.
class TDropTarget : public app::TMainForm {
public:
  using app::TMainForm::TMainForm;
  using app::TMainForm::dropEvent;
};

// One window driven by a scripted user, with its temporary folder inside a test folder.
class MainFormTest : public ::testing::Test {
protected:
  // Where the system's temporary folder is taken from.
#ifdef _WIN32
  static constexpr const char* TempVariable = "TMP";
#else
  static constexpr const char* TempVariable = "TMPDIR";
#endif
  MainFormTest() : FHadTmp(qEnvironmentVariableIsSet(TempVariable)), FOldTmp(qgetenv(TempVariable)) {
    std::filesystem::create_directory(Folder.File("tmp"));
    qputenv(TempVariable, Folder.File("tmp").string().c_str());
    Form = std::make_unique<TDropTarget>(Prompts);
    Form->show();
  }
  ~MainFormTest() override {
    Form.reset();
    if (FHadTmp) {
      qputenv(TempVariable, FOldTmp);
    } else {
      qunsetenv(TempVariable);
    }
  }

  std::filesystem::path Gpx(const std::string& name, const char* text) {
    const auto path = Folder.File(name);
    WriteFile(path, text);
    return path;
  }
  void OpenWithDialog(const std::filesystem::path& path) {
    Prompts.OpenAnswers.push_back(ui::TFileDialogAnswer{Q(path), 1});
    Form->OpenBtClick();
  }
  void Drop(const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    Form->dropEvent(&drop);
  }
  void Save(const std::filesystem::path& target, int filterIndex) {
    Prompts.SaveAnswers.push_back(ui::TFileDialogAnswer{Q(target), filterIndex});
    Form->SaveBtClick();
  }

  app::TMainFormUi& Ui() { return Form->Ui(); }
  view::TGpsTreeModel& Tree() { return Ui().GpxTreeView->Model(); }
  QString RootText() { return Tree().RootIndex().data().toString(); }
  QStringList Groups() {
    QStringList texts;
    const QModelIndex root = Tree().RootIndex();
    for (int row = 0; row < Tree().rowCount(root); ++row) texts << Tree().index(row, 0, root).data().toString();
    return texts;
  }
  // Enabled states of Waypoints, Routes, Tracks, JoinSegs, Time and Save, as a string of 0 and 1.
  std::string Enabled() {
    std::string s;
    for (QWidget* w : std::initializer_list<QWidget*>{Ui().WaypointsCheck, Ui().RoutesCheck, Ui().TracksCheck,
                                                      Ui().JoinSegsCheck, Ui().TimeCheck, Ui().SaveBt}) {
      s += w->isEnabled() ? '1' : '0';
    }
    return s;
  }
  std::string Checked() {
    std::string s;
    for (QCheckBox* b : {Ui().WaypointsCheck, Ui().RoutesCheck, Ui().TracksCheck, Ui().JoinSegsCheck, Ui().TimeCheck}) {
      s += b->isChecked() ? '1' : '0';
    }
    return s;
  }

  TTempFolder Folder;
  TScriptedPrompts Prompts;
  std::unique_ptr<TDropTarget> Form;

private:
  bool FHadTmp;
  QByteArray FOldTmp;
};

}  // namespace tarvola::test
