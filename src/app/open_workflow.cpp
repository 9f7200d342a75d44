#include "app/open_workflow.h"

#include <QCoreApplication>

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
  ui::TUserPrompts& Prompts;
  TWorkflowView& View;
};

// Every load failure says which file and why below its own text.
void ShowLoadError(TOpenContext& open, const QString& title, const QString& text, const QString& path,
                   const std::string& reason) {
  ShowError(open.Prompts, open.View.Owner(), title, text, FileAndReason(path, reason));
}

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

// LoadGpxFile's window side: hourglass, disabled controls, wait panel, its own messages.
gps::TLoadOutcome ReadGpxFile(TOpenContext& open, const QString& path, std::shared_ptr<const gps::TGpsData>& loaded) {
  TBusyCursor hourglass;
  TReadingState reading(open);
  open.View.ShowWaitPanel();
  auto data = std::make_shared<gps::TGpsData>();
  gps::TLoadOutcome outcome = gps::LoadGpxFile(ToFsPath(path), *data);
  switch (outcome.Code) {
    case gps::TLoadResult::Loaded:
      loaded = std::move(data);
      break;
    case gps::TLoadResult::CannotOpen:
      ShowLoadError(open, QStringLiteral("Tarvola"), QStringLiteral("Cannot open file"), path, outcome.Reason);
      break;
    case gps::TLoadResult::EncodingNotSupported:
      ShowLoadError(open, QStringLiteral("Tarvola"), QStringLiteral("Text encoding not supported"), path,
                    outcome.Reason);
      break;
    case gps::TLoadResult::NotGpx:
    case gps::TLoadResult::OutOfMemory:
      break;
  }
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
  const auto answer = open.Prompts.AskOpenFile(open.View.Owner(), request);
  if (!answer) return false;
  ws.SourcePath = answer->FileName;
  return true;
}

}  // namespace

void RunOpenWorkflow(TWorkspace& workspace, ui::TUserPrompts& prompts, TWorkflowView& view,
                     const QString& fileName) {
  TOpenContext open{workspace, prompts, view};
  TWorkspace& ws = workspace;
  if (ws.Loading) return;  // never a second load inside the first
  view.BringToFront();
  QCoreApplication::processEvents();
  if (!ChooseFile(open, fileName)) return;
  // FreeGpsData: the tree keeps its own snapshot, so it shows the old data until a rebuild.
  if (view.TreeNodeCount() > FreeWaitNodes) view.ShowWaitPanel();
  ws.Data.reset();
  view.ShowLoadedFileName();
  std::shared_ptr<const gps::TGpsData> loaded;
  const gps::TLoadOutcome outcome = ReadGpxFile(open, ws.SourcePath, loaded);
  if (!loaded) {
    const bool outOfMemory = outcome.Code == gps::TLoadResult::OutOfMemory;
    ShowLoadError(open, QStringLiteral("Load file..."),
                  outOfMemory ? QStringLiteral("Not enough memory to load the GPX file.")
                              : QStringLiteral("Error loading GPX file."),
                  ws.SourcePath, outcome.Reason);
    return;
  }
  ws.Data = std::move(loaded);
  view.ShowLoadedFileName();
  view.FillGpxTree();
  view.EnableOptions(ApplicabilityOf(*ws.Data));
}

}  // namespace tarvola::app
