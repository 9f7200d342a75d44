#include "app/save_command.h"

#include <QCoreApplication>
#include <QToolButton>

#include "app/busy_cursor.h"
#include "app/main_form.h"
#include "app/path_text.h"
#include "kml/save_workflow.h"
#include "ui/task_dialog.h"
#include "view/gps_tree_view.h"

namespace tarvola::app {

namespace {

constexpr int KmlIndex = 2;
constexpr std::uint64_t SaveWaitNodes = 300;

// The builder's window side: hourglass, SaveBt disabled, the wait panel for a large tree.
class TBuildingState {
public:
  explicit TBuildingState(TMainForm& form) : FForm(form) {
    form.Ui().SaveBt->setEnabled(false);
    if (form.Ui().GpxTreeView->NodeCount() > SaveWaitNodes) {
      form.ShowWaitPanel();
    } else {
      QCoreApplication::processEvents();
    }
  }
  ~TBuildingState() { FForm.Ui().SaveBt->setEnabled(true); }
  TBuildingState(const TBuildingState&) = delete;
  TBuildingState& operator=(const TBuildingState&) = delete;

private:
  TBusyCursor FHourglass;
  TMainForm& FForm;
};

std::optional<ui::TFileDialogAnswer> AskTarget(TMainForm& form) {
  const TWorkspace& ws = form.Workspace();
  ui::TFileDialogRequest request;
  request.InitialDir = FolderOf(ws.SourcePath, false);
  request.FileName = NameWithoutExtension(ws.SourcePath);
  request.Filter = QString::fromLatin1(KmlFilter);
  request.DefaultExt = QStringLiteral("kmz");
  request.FilterIndex = ws.SaveFilterIndex;
  return form.Prompts().AskSaveFile(&form, request);
}

void ShowSaveError(TMainForm& form, const QString& text) {
  form.Prompts().ShowMessage(&form, QStringLiteral("Save file..."), text, QString(), ui::IconError,
                             ui::ButtonsOk);
}

}  // namespace

void RunSaveCommand(TMainForm& form) {
  QCoreApplication::processEvents();
  TWorkspace& ws = form.Workspace();
  if (!ws.Data) return;
  const auto answer = AskTarget(form);
  if (!answer) return;
  ws.SaveFilterIndex = answer->FilterIndex;
  const bool asKml = answer->FilterIndex == KmlIndex;
  QString target = answer->FileName;
  if (!HasExtension(target)) target += asKml ? QStringLiteral(".kml") : QStringLiteral(".kmz");

  kml::TSaveResult result;
  {
    TBuildingState building(form);
    result = kml::SaveGpsFile(*ws.Data, form.ExportOptions(), ToFsPath(ws.TempDir), ToFsPath(target),
                              asKml ? kml::TKmlFileType::Kml : kml::TKmlFileType::Kmz);
  }
  switch (result) {
    case kml::TSaveResult::Saved:
      break;
    case kml::TSaveResult::BuildFailed:
      ShowSaveError(form, QStringLiteral("Error saving KML file."));
      return;
    case kml::TSaveResult::PackFailed:
      ShowSaveError(form, QStringLiteral("Error compressing KMZ file."));
      break;
    case kml::TSaveResult::CopyFailed:
      ShowSaveError(form, QStringLiteral("Error saving KML file."));
      break;
  }
  ws.LastSaved = target;
}

}  // namespace tarvola::app
