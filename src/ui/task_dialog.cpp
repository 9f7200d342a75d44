#include "ui/task_dialog.h"

#include <QGridLayout>
#include <QSpacerItem>

namespace tarvola::ui {

QString CutTaskDialogText(const QString& text) {
  if (text.size() <= TaskDialogTextLimit) return text;
  qsizetype cut = TaskDialogTextLimit;
  // Never leave half of a surrogate pair at the end.
  if (text.at(cut - 1).isHighSurrogate()) --cut;
  return text.left(cut);
}

QMessageBox::Icon TaskDialogIcon(int iconCode) {
  switch (iconCode) {
    case 81:
    case 106:
      return QMessageBox::Information;
    case 84:
    case 107:
      return QMessageBox::Warning;
    case 98:
    case 105:
      return QMessageBox::Critical;
    case 99:
    case 104:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons TaskDialogButtons(int buttonSet) {
  QMessageBox::StandardButtons buttons;
  if (buttonSet & ButtonYes) buttons |= QMessageBox::Yes;
  if (buttonSet & ButtonNo) buttons |= QMessageBox::No;
  if (buttonSet & ButtonOk) buttons |= QMessageBox::Ok;
  if (buttonSet & ButtonCancel) buttons |= QMessageBox::Cancel;
  if (buttonSet & ButtonRetry) buttons |= QMessageBox::Retry;
  return buttons;
}

TDialogResult TaskDialogResult(QMessageBox::StandardButton clicked) {
  switch (clicked) {
    case QMessageBox::Ok:
      return TDialogResult::Ok;
    case QMessageBox::NoButton:  // closed without a button: counts as Cancel
    case QMessageBox::Cancel:
      return TDialogResult::Cancel;
    case QMessageBox::Retry:
      return TDialogResult::Retry;
    case QMessageBox::Yes:
      return TDialogResult::Yes;
    case QMessageBox::No:
      return TDialogResult::No;
    default:
      return TDialogResult::None;
  }
}

namespace {

// Qt sizes the box to its main text, so a content line naming a file and a reason would wrap
// every few words; the system's task dialog is about this wide.
constexpr int ContentWidth = 320;

void WidenForContent(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  grid->addItem(new QSpacerItem(ContentWidth, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                grid->columnCount());
}

}  // namespace

TDialogResult ShowTaskDialog(QWidget* owner, const QString& title, const QString& mainText,
                             const QString& content, TDialogIcon icon, int buttonSet) {
  QMessageBox box(owner);
  box.setIcon(TaskDialogIcon(static_cast<int>(icon)));
  box.setTextFormat(Qt::PlainText);
  box.setWindowTitle(CutTaskDialogText(title));
  box.setText(CutTaskDialogText(mainText));
  if (!content.isEmpty()) box.setInformativeText(CutTaskDialogText(content));
  QMessageBox::StandardButtons buttons = TaskDialogButtons(buttonSet);
  box.setStandardButtons(buttons ? buttons : QMessageBox::Ok);
  // After the last setter: each of them lays the box out anew.
  if (!content.isEmpty()) WidenForContent(box);
  return TaskDialogResult(static_cast<QMessageBox::StandardButton>(box.exec()));
}

}  // namespace tarvola::ui
