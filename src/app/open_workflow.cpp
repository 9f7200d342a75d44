#include "app/open_workflow.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/busy_cursor.h"
#include "app/path_text.h"
#include "app/workflow_view.h"
#include "app/workspace.h"
#include "gps/gpx_reader.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

namespace {

constexpr std::uint64_t FreeWaitNodes = 300;

// What an open needs: the state it changes, the user to ask and the window to update.
struct TOpenContext {
  TWorkspace& Workspace;
  TWorkflowView& View;
};

// The controls a read disables, and the one it gives back afterwards.
class TReadingState {
public:
  explicit TReadingState(TOpenContext& open) : FOpen(open) {
    open.Workspace.Loading = true;
    open.View.SetReading(true);
  }
  ~TReadingState() {
    FOpen.View.SetReading(false);
    FOpen.Workspace.Loading = false;
  }
  TReadingState(const TReadingState&) = delete;
  TReadingState& operator=(const TReadingState&) = delete;

private:
  TOpenContext& FOpen;
};

// LoadGpxFile away from the event thread: hourglass, disabled controls, the wait panel with the
// bytes read so far.
gps::TLoadOutcome ReadGpxFile(TOpenContext& open, const QString& path, std::shared_ptr<const gps::TGpsData>& loaded) {
  TBusyCursor hourglass;
  TReadingState reading(open);
  open.View.ShowWaitPanel();
  auto data = std::make_shared<gps::TGpsData>();
  gps::TLoadOutcome outcome;
  const QFileInfo file(path);
  const std::uint64_t size = file.isFile() ? std::uint64_t(file.size()) : 0;
  open.View.RunLongWork(size, [&](TWorkProgress& progress) {
    outcome = gps::LoadGpxFile(ToFsPath(path), *data, progress.Watch());
  });
  if (outcome.Code == gps::TLoadResult::Loaded) loaded = std::move(data);
  return outcome;
}

// Returns false when the user cancelled the dialog.
bool ChooseFile(TOpenContext& open, const QString& fileName) {
  TWorkspace& ws = open.Workspace;
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
  const auto answer = open.View.AskOpenFile(request);
  if (!answer) return false;
  ws.SourcePath = answer->FileName;
  return true;
}

}  // namespace

void RunOpenWorkflow(TWorkspace& workspace, TWorkflowView& view,
                     const QString& fileName) {
  TOpenContext open{workspace, view};
  TWorkspace& ws = workspace;
  if (ws.Loading) return;  // never a second load inside the first
  view.BringToFront();
  QCoreApplication::processEvents();
  TWorkspace before = ws;
  if (!ChooseFile(open, fileName)) return;
  // FreeGpsData: the tree keeps its own snapshot, so it shows the old data until a rebuild.
  if (view.TreeNodeCount() > FreeWaitNodes) view.ShowWaitPanel();
  ws.Data.reset();
  view.ShowLoadedFileName();
  std::shared_ptr<const gps::TGpsData> loaded;
  const gps::TLoadOutcome outcome = ReadGpxFile(open, ws.SourcePath, loaded);
  if (outcome.Code == gps::TLoadResult::Cancelled) {
    // As if the file had never been chosen: the data before it is still there.
    ws = std::move(before);
    view.ShowLoadedFileName();
    if (ws.Data) view.EnableOptions(ApplicabilityOf(*ws.Data));
    return;
  }
  before = {};
  if (!loaded) {
    view.ShowError(QStringLiteral("Load file..."), QString::fromStdString(gps::LoadFailureText(outcome.Code)),
              FileAndReason(ws.SourcePath, outcome.Reason));
    return;
  }
  ws.Data = std::move(loaded);
  view.ShowLoadedFileName();
  view.FillGpxTree();
  view.EnableOptions(ApplicabilityOf(*ws.Data));
}

}  // namespace tarvola::app
