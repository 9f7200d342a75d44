#pragma once

#include <QStringList>

#include "ui/user_prompts.h"

namespace tarvola::ui {

// "Description|*.a;*.b|..." as Qt name filters whose patterns Qt can match; the dialog hides
// the added pattern part, so the user sees the descriptions as written.
QStringList QtNameFilters(const QString& filter);

// The real dialogs.
class TQtPrompts : public TUserPrompts {
public:
  std::optional<TFileDialogAnswer> AskOpenFile(QWidget* owner, const TFileDialogRequest& request) override;
  std::optional<TFileDialogAnswer> AskSaveFile(QWidget* owner, const TFileDialogRequest& request) override;
  TDialogResult ShowMessage(QWidget* owner, const QString& title, const QString& mainText, const QString& content,
                            TDialogIcon icon, int buttons) override;
};

}  // namespace tarvola::ui
