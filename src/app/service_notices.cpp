#include "app/service_notices.h"

#include <QWidget>

#include "ui/task_dialog.h"
#include "ui/user_prompts.h"

namespace tarvola::app {

void PresentServiceNotices(QWidget* window, ui::TUserPrompts& prompts, const service::TLinkOpener& opener,
                           const service::TServiceNotices& notices) {
  if (!notices.Message.isEmpty())
    prompts.ShowMessage(window, notices.Title, notices.Message, QString(), ui::TDialogIcon::Information, ui::ButtonsOk);
  if (!notices.PageUrl.isEmpty()) opener(notices.PageUrl);
  if (notices.UpdateText.isEmpty()) return;
  if (prompts.ShowMessage(window, notices.Title, notices.UpdateText, QString(), ui::TDialogIcon::Question, ui::ButtonsYesNoCancel) ==
      ui::TDialogResult::Yes) {
    opener(notices.UpdateUrl);
    window->close();
  }
}

}  // namespace tarvola::app
