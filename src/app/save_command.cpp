#include "app/save_command.h"

#include <QCoreApplication>

#include "app/busy_cursor.h"
#include "app/path_text.h"
#include "app/workflow_view.h"
#include "app/workspace.h"
#include "kml/save_workflow.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

namespace {

constexpr int KmlIndex = 2;
constexpr std::uint64_t SaveWaitNodes = 300;

// The builder's window side: hourglass, SaveBt disabled, the wait panel for a large tree.
class TBuildingState {
public:
  explicit TBuildingState(TWorkflowView& view) : FView(view) {
    view.SetSaveEnabled(false);
    if (view.TreeNodeCount() > SaveWaitNodes) {
      view.ShowWaitPanel();
    } else {
      QCoreApplication::processEvents();
    }
  }
  ~TBuildingState() { FView.SetSaveEnabled(true); }
  TBuildingState(const TBuildingState&) = delete;
  TBuildingState& operator=(const TBuildingState&) = delete;

private:
  TBusyCursor FHourglass;
  TWorkflowView& FView;
};

std::optional<ui::TFileDialogAnswer> AskTarget(const TWorkspace& ws, ui::TUserPrompts& prompts, QWidget* owner) {
  ui::TFileDialogRequest request;
  request.InitialDir = FolderOf(ws.SourcePath, false);
  request.FileName = NameWithoutExtension(ws.SourcePath);
  request.Filter = QString::fromLatin1(KmlFilter);
  request.DefaultExt = QStringLiteral("kmz");
  request.FilterIndex = ws.SaveFilterIndex;
  return prompts.AskSaveFile(owner, request);
}

// A name with .kml or .kmz decides the type; any other takes the chosen one, and a name
// without an extension gets that type's.
kml::TKmlFileType TargetType(QString& target, int filterIndex) {
  const bool asKml = filterIndex == KmlIndex;
  if (!HasExtension(target)) target += asKml ? QStringLiteral(".kml") : QStringLiteral(".kmz");
  return kml::FileTypeForName(ToFsPath(target), asKml ? kml::TKmlFileType::Kml : kml::TKmlFileType::Kmz);
}

}  // namespace

void RunSaveCommand(TWorkspace& workspace, ui::TUserPrompts& prompts, TWorkflowView& view) {
  QCoreApplication::processEvents();
  TWorkspace& ws = workspace;
  if (!ws.Data) return;
  QWidget* const owner = view.Owner();
  const auto answer = AskTarget(ws, prompts, owner);
  if (!answer) return;
  ws.SaveFilterIndex = answer->FilterIndex;
  QString target = answer->FileName;
  const kml::TKmlFileType type = TargetType(target, answer->FilterIndex);

  kml::TSaveOutcome saved;
  try {
    TBuildingState building(view);
    saved = kml::SaveGpsFile(*ws.Data, view.ExportOptions(), ToFsPath(ws.TempDir), ToFsPath(target), type);
  } catch (const io::EStreamError& error) {
    // The file layer's own report, as the toolkit would show it.
    ShowError(prompts, owner, QStringLiteral("Tarvola"), QString::fromUtf8(error.what()),
              FileAndReason(target, kml::FailureReason(error)));
    return;
  } catch (const std::exception& error) {
    ShowError(prompts, owner, QStringLiteral("Tarvola"), QString::fromUtf8(error.what()), FileAndReason(target, {}));
    return;
  }
  const std::string& reason = saved.Reason;
  const QString title = QStringLiteral("Save file...");
  switch (saved.Code) {
    case kml::TSaveResult::Saved:
      break;
    case kml::TSaveResult::BuildFailed:
      ShowError(prompts, owner, title, QStringLiteral("Error saving KML file."), FileAndReason(target, reason));
      return;
    case kml::TSaveResult::PackFailed:
      ShowError(prompts, owner, title, QStringLiteral("Error compressing KMZ file."), FileAndReason(target, reason));
      break;
    case kml::TSaveResult::CopyFailed:
      ShowError(prompts, owner, title, QStringLiteral("Error saving KML file."), FileAndReason(target, reason));
      break;
  }
  ws.LastSaved = target;
}

}  // namespace tarvola::app
