// The window's attachment points for the About window, the Google Earth launcher and the
// service channel, which live in their own subsystems.
#include "app/main_form.h"

#include "app/about_content.h"
#include "app/ge_commands.h"
#include "service/service_channel.h"
#include "ui/about_form.h"

namespace tarvola::app {

void TMainForm::AboutBtClick() { ui::AboutBtClick(this, AboutContent(service::ServiceData()), FOpener, FPrompts); }

void TMainForm::OpenGeBtClick() {
  TGeCommandContext context{this, FPrompts, FWorkspace.LastSaved, FWorkspace.SourcePath};
  app::OpenGeBtClick(context);
}

void TMainForm::OpenLastSavedBtClick() {
  TGeCommandContext context{this, FPrompts, FWorkspace.LastSaved, FWorkspace.SourcePath};
  app::OpenLastSavedBtClick(context);
}

void TMainForm::FormShowFirst() { FService->FirstShow(); }

void TMainForm::FormCloseQuery() { FService->CloseQuery(); }

}  // namespace tarvola::app
