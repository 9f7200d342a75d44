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

void ShowSaveError(TMainForm& form, const QString& text, const QString& target, const std::string& reason) {
  form.Prompts().ShowMessage(&form, QStringLiteral("Save file..."), text, FileAndReason(target, reason),
                             ui::IconError, ui::ButtonsOk);
}

// A name with .kml or .kmz decides the type; any other takes the chosen one, and a name
// without an extension gets that type's.
kml::TKmlFileType TargetType(QString& target, int filterIndex) {
  const bool asKml = filterIndex == KmlIndex;
  if (!HasExtension(target)) target += asKml ? QStringLiteral(".kml") : QStringLiteral(".kmz");
  return kml::FileTypeForName(ToFsPath(target), asKml ? kml::TKmlFileType::Kml : kml::TKmlFileType::Kmz);
}

}  // namespace

void RunSaveCommand(TMainForm& form) {
  QCoreApplication::processEvents();
  TWorkspace& ws = form.Workspace();
  if (!ws.Data) return;
  const auto answer = AskTarget(form);
  if (!answer) return;
  ws.SaveFilterIndex = answer->FilterIndex;
  QString target = answer->FileName;
  const kml::TKmlFileType type = TargetType(target, answer->FilterIndex);

  kml::TSaveResult result;
  std::string reason;
  try {
    TBuildingState building(form);
    result = kml::SaveGpsFile(*ws.Data, form.ExportOptions(), ToFsPath(ws.TempDir), ToFsPath(target), type, reason);
  } catch (const std::exception& error) {
    // The file layer's own report, as the toolkit would show it.
    form.Prompts().ShowMessage(&form, QStringLiteral("Tarvola"), QString::fromUtf8(error.what()),
                               FileAndReason(target, reason), ui::IconError, ui::ButtonsOk);
    return;
  }
  switch (result) {
    case kml::TSaveResult::Saved:
      break;
    case kml::TSaveResult::BuildFailed:
      ShowSaveError(form, QStringLiteral("Error saving KML file."), target, reason);
      return;
    case kml::TSaveResult::PackFailed:
      ShowSaveError(form, QStringLiteral("Error compressing KMZ file."), target, reason);
      break;
    case kml::TSaveResult::CopyFailed:
      ShowSaveError(form, QStringLiteral("Error saving KML file."), target, reason);
      break;
  }
  ws.LastSaved = target;
}

}  // namespace tarvola::app
