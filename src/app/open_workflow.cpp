#include "app/open_workflow.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QToolButton>

#include "app/busy_cursor.h"
#include "app/main_form.h"
#include "app/path_text.h"
#include "gps/gpx_reader.h"
#include "ui/task_dialog.h"
#include "view/gps_tree_view.h"

namespace tarvola::app {

namespace {

constexpr std::uint64_t FreeWaitNodes = 300;

// Every load failure says which file and why below its own text.
void ShowError(TMainForm& form, const QString& title, const QString& text, const QString& path,
               const std::string& reason) {
  form.Prompts().ShowMessage(&form, title, text, FileAndReason(path, reason), ui::IconError, ui::ButtonsOk);
}

// The controls a read disables, in this order, and the one it gives back afterwards.
class TReadingState {
public:
  explicit TReadingState(TMainForm& form) : FForm(form) {
    TMainFormUi& ui = form.Ui();
    form.Workspace().Loading = true;
    ui.OpenBt->setEnabled(false);
    ui.SaveBt->setEnabled(false);
    for (QCheckBox* box : {ui.WaypointsCheck, ui.RoutesCheck, ui.TracksCheck, ui.TimeCheck, ui.JoinSegsCheck}) {
      box->setEnabled(false);
    }
  }
  ~TReadingState() {
    FForm.Ui().OpenBt->setEnabled(true);
    FForm.Workspace().Loading = false;
  }
  TReadingState(const TReadingState&) = delete;
  TReadingState& operator=(const TReadingState&) = delete;

private:
  TMainForm& FForm;
};

// LoadGpxFile's window side: hourglass, disabled controls, wait panel, its own messages.
std::shared_ptr<const gps::TGpsData> ReadGpxFile(TMainForm& form, const QString& path, std::string& reason) {
  TBusyCursor hourglass;
  TReadingState reading(form);
  form.ShowWaitPanel();
  auto data = std::make_shared<gps::TGpsData>();
  switch (gps::LoadGpxFile(ToFsPath(path), *data, reason)) {
    case gps::TLoadResult::Loaded:
      return data;
    case gps::TLoadResult::CannotOpen:
      ShowError(form, QStringLiteral("Tarvola"), QStringLiteral("Cannot open file"), path, reason);
      break;
    case gps::TLoadResult::EncodingNotSupported:
      ShowError(form, QStringLiteral("Tarvola"), QStringLiteral("Text encoding not supported"), path, reason);
      break;
    case gps::TLoadResult::NotGpx:
      break;
  }
  return nullptr;
}

void EnableOptions(TMainFormUi& ui, const TApplicability& a) {
  ui.WaypointsCheck->setEnabled(a.Waypoints);
  ui.RoutesCheck->setEnabled(a.Routes);
  ui.TracksCheck->setEnabled(a.Tracks);
  ui.JoinSegsCheck->setEnabled(a.JoinSegments);
  ui.TimeCheck->setEnabled(a.TimeStamps);
  ui.SaveBt->setEnabled(a.Save);
}

// Returns false when the user cancelled the dialog.
bool ChooseFile(TMainForm& form, const QString& fileName) {
  TWorkspace& ws = form.Workspace();
  if (!fileName.isEmpty()) {
    ws.SourcePath = fileName;
    ws.OpenInitialDir = FolderOf(fileName, true);
    return true;
  }
  ui::TFileDialogRequest request;
  request.InitialDir = ws.OpenInitialDir;
  request.FileName = ws.SourcePath;
  request.Filter = QString::fromLatin1(GpxFilter);
  request.DefaultExt = QStringLiteral("gpx");
  const auto answer = form.Prompts().AskOpenFile(&form, request);
  if (!answer) return false;
  ws.SourcePath = answer->FileName;
  return true;
}

}  // namespace

void RunOpenWorkflow(TMainForm& form, const QString& fileName) {
  TWorkspace& ws = form.Workspace();
  if (ws.Loading) return;  // never a second load inside the first
  form.raise();
  form.activateWindow();
  QCoreApplication::processEvents();
  if (!ChooseFile(form, fileName)) return;
  // FreeGpsData: the tree keeps its own snapshot, so it shows the old data until a rebuild.
  if (form.Ui().GpxTreeView->NodeCount() > FreeWaitNodes) form.ShowWaitPanel();
  ws.Data.reset();
  form.ShowLoadedFileName();
  std::string reason;
  std::shared_ptr<const gps::TGpsData> loaded = ReadGpxFile(form, ws.SourcePath, reason);
  if (!loaded) {
    ShowError(form, QStringLiteral("Load file..."), QStringLiteral("Error loading GPX file."), ws.SourcePath, reason);
    return;
  }
  ws.Data = std::move(loaded);
  form.ShowLoadedFileName();
  form.FillGpxTree();
  EnableOptions(form.Ui(), ApplicabilityOf(*ws.Data));
}

}  // namespace tarvola::app
