#pragma once

#include <QMessageBox>
#include <QString>

#include "ui/user_prompts.h"

class QWidget;

namespace tarvola::ui {

// Each text of the task dialog holds at most this many UTF-16 code units.
inline constexpr qsizetype TaskDialogTextLimit = 1024;

QString CutTaskDialogText(const QString& text);
QMessageBox::Icon TaskDialogIcon(int iconCode);
QMessageBox::StandardButtons TaskDialogButtons(int buttonSet);
TDialogResult TaskDialogResult(QMessageBox::StandardButton clicked);

// Modal.
TDialogResult ShowTaskDialog(QWidget* owner, const QString& title, const QString& mainText,
                             const QString& content, TDialogIcon icon, int buttonSet);

}  // namespace tarvola::ui
