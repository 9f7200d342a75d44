// The window's attachment points for the About window, the Google Earth launcher and the
// service channel, which live in their own subsystems.
#include "app/main_form.h"

#include "desktop/ge_commands.h"
#include "service/service_channel.h"
#include "ui/about_form.h"

namespace tarvola::app {

void TMainForm::AboutBtClick() { ui::AboutBtClick(this, FOpener, FPrompts); }

void TMainForm::OpenGeBtClick() {
  desktop::TGeCommandContext context{this, FPrompts, FWorkspace.LastSaved, FWorkspace.SourcePath};
  desktop::OpenGeBtClick(context);
}

void TMainForm::OpenLastSavedBtClick() {
  desktop::TGeCommandContext context{this, FPrompts, FWorkspace.LastSaved, FWorkspace.SourcePath};
  desktop::OpenLastSavedBtClick(context);
}

void TMainForm::FormShowFirst() { FService->FirstShow(); }

void TMainForm::FormCloseQuery() { FService->CloseQuery(); }

}  // namespace tarvola::app
