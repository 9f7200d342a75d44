#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace tarvola::ui {

// Button set bits, icon codes and results of the program's one message dialog.
enum TDialogButton : int { dbYes = 1, dbNo = 2, dbOk = 4, dbCancel = 8, dbRetry = 16 };
enum TDialogResult : int { drNone = 0, drOk = 1, drCancel = 2, drRetry = 4, drYes = 6, drNo = 7 };
inline constexpr int IconInformation = 81;
inline constexpr int IconWarning = 84;
inline constexpr int IconError = 98;
inline constexpr int IconQuestion = 99;
inline constexpr int ButtonsOk = dbOk;
inline constexpr int ButtonsYesNoCancel = dbYes | dbNo | dbCancel;

// Each text of the task dialog holds at most this many UTF-16 code units.
inline constexpr qsizetype TaskDialogTextLimit = 1024;

QString CutTaskDialogText(const QString& text);
QMessageBox::Icon TaskDialogIcon(int iconCode);
QMessageBox::StandardButtons TaskDialogButtons(int buttonSet);
int TaskDialogResult(QMessageBox::StandardButton clicked);

// Modal; returns one of TDialogResult.
int ShowTaskDialog(QWidget* owner, const QString& title, const QString& mainText,
                   const QString& content, int iconCode, int buttonSet);

}  // namespace tarvola::ui
