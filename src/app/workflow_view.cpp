#include "app/workflow_view.h"

#include "ui/task_dialog.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

void ShowError(ui::TUserPrompts& prompts, QWidget* owner, const QString& title, const QString& text,
               const QString& content) {
  prompts.ShowMessage(owner, title, text, content, ui::TDialogIcon::Error, ui::ButtonsOk);
}

}  // namespace tarvola::app
