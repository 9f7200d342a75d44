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

// What the progress counts: every point the document may hold.
std::uint64_t PointCount(const gps::TGpsData& data) {
  std::uint64_t count = data.Waypoints ? data.Waypoints->size() : 0;
  if (data.Routes) {
    for (const gps::TRte& route : *data.Routes) count += route.Points ? route.Points->size() : 0;
  }
  if (data.Tracks) {
    for (const gps::TTrk& track : *data.Tracks) {
      if (!track.Segments) continue;
      for (const gps::TTrkSeg& segment : *track.Segments) count += segment.Points ? segment.Points->size() : 0;
    }
  }
  return count;
}

std::optional<ui::TFileDialogAnswer> AskTarget(const TWorkspace& ws, TWorkflowView& view) {
  ui::TFileDialogRequest request;
  request.InitialDir = FolderOf(ws.SourcePath, false);
  request.FileName = WithKmlExtension(NameWithoutExtension(ws.SourcePath), ws.SaveFilterIndex == KmlIndex);
  request.Filter = QString::fromLatin1(KmlFilter);
  request.DefaultExt = QStringLiteral("kmz");
  request.FilterIndex = ws.SaveFilterIndex;
  return view.AskSaveFile(request);
}

kml::TKmlFileType TargetType(QString& target, int filterIndex) {
  const bool asKml = filterIndex == KmlIndex;
  target = WithKmlExtension(target, asKml);
  return kml::FileTypeForName(ToFsPath(target), asKml ? kml::TKmlFileType::Kml : kml::TKmlFileType::Kmz);
}

}  // namespace

void RunSaveCommand(TWorkspace& workspace, TWorkflowView& view) {
  QCoreApplication::processEvents();
  TWorkspace& ws = workspace;
  if (!ws.Data) return;
  const auto answer = AskTarget(ws, view);
  if (!answer) return;
  ws.SaveFilterIndex = answer->FilterIndex;
  QString target = answer->FileName;
  const kml::TKmlFileType type = TargetType(target, answer->FilterIndex);
  const kml::TExportOptions options = view.ExportOptions();

  kml::TSaveOutcome saved;
  const QString title = QStringLiteral("Save file...");
  bool cancelled = false;
  try {
    TBuildingState building(view);
    kml::TSaveSettings settings;
    view.RunLongWork(PointCount(*ws.Data), [&](TWorkProgress& progress) {
      settings.Progress = progress.Watch();
      saved = kml::SaveGpsFile(*ws.Data, options, ToFsPath(ws.TempDir), ToFsPath(target), type, settings);
      cancelled = progress.Cancelled();
    });
  } catch (const std::exception& error) {
    view.ShowError(title, QStringLiteral("Error saving KML file."), FileAndReason(target, error.what()));
    return;
  }
  if (cancelled && saved.Code != kml::TSaveResult::Saved) return;  // the old target is as it was
  if (saved.Code != kml::TSaveResult::Saved) {
    view.ShowError(title, QString::fromStdString(kml::SaveFailureText(saved.Code)),
              FileAndReason(target, saved.Reason));
  }
  // A build that failed wrote nothing; after the others the target is the one last saved.
  if (saved.Code != kml::TSaveResult::BuildFailed) ws.LastSaved = target;
}

}  // namespace tarvola::app
