#include "app/ge_commands.h"

#include <QWidget>

#include "app/app_identity.h"
#include "desktop/desktop.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

namespace {

using desktop::ShowDefault;
using desktop::TAssociation;
using desktop::TLaunchCommand;


void ShowError(TGeCommandContext& context, const char* text) {
  context.Prompts.ShowMessage(context.Owner, ProductName(), text, QString(), ui::TDialogIcon::Error, ui::ButtonsOk);
}

std::uintptr_t OwnerHandle(const TGeCommandContext& context) {
#ifdef _WIN32
  if (context.Owner) return static_cast<std::uintptr_t>(context.Owner->window()->winId());
#else
  (void)context;
#endif
  return 0;
}

// Runs the command on the given desktop, or on a desktop of this machine made for the call.
template <typename TCommand>
void OnDesktop(TGeCommandContext& context, TCommand command) {
  if (context.Desktop) {
    command(*context.Desktop);
    return;
  }
  std::unique_ptr<desktop::TDesktop> own = desktop::CreateSystemDesktop();
  command(*own);
}

bool PickLastSaved(TGeCommandContext& context) {
  ui::TFileDialogRequest request;
  request.FileName = context.OpenDialogFileName;
  request.Filter = GeOpenFilter;
  request.DefaultExt = "kmz";
  auto answer = context.Prompts.AskOpenFile(context.Owner, request);
  if (!answer) return false;
  context.OpenDialogFileName = answer->FileName;
  context.LastSaved = answer->FileName;
  return true;
}

}  // namespace

void OpenGeBtClick(TGeCommandContext& context) {
  OnDesktop(context, [&](desktop::TDesktop& desktop) {
    TAssociation ge = desktop.ResolveAssociation(GeFileType);
    if (!ge.Found) {
      ShowError(context, "Error, Google Earth seems to be not installed.");
      return;
    }
    std::string program = desktop.ExeFromCommand(ge.Command);
    if (!desktop.FileExists(program)) {
      ShowError(context, "Error, Google Earth wasn't found.");
      return;
    }
    desktop.ShellOpen({OwnerHandle(context), program, {}, ShowDefault});
  });
}

void OpenLastSavedBtClick(TGeCommandContext& context) {
  OnDesktop(context, [&](desktop::TDesktop& desktop) {
    auto exists = [&] { return !context.LastSaved.isEmpty() && desktop.FileExists(context.LastSaved.toStdString()); };
    if (!exists() && !PickLastSaved(context)) return;
    if (!exists()) return;
    TAssociation ge = desktop.ResolveAssociation(GeFileType);
    if (!ge.Found) {
      ShowError(context, "Error, Google Earth seems to be not installed.");
      return;
    }
    TLaunchCommand launch = desktop.BuildLaunchCommand(ge.Command, context.LastSaved.toStdString());
    if (!launch.Ok) {
      ShowError(context, "Error, Google Earth wasn't found.");
      return;
    }
    desktop.ShellOpen({OwnerHandle(context), launch.Program, launch.Parameters, ShowDefault});
  });
}

}  // namespace tarvola::app
