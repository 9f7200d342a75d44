#include "ui/qt_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "ui/task_dialog.h"

namespace tarvola::ui {

namespace {

QString QtPatterns(const QString& patterns) {
  QStringList parts = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
  for (QString& part : parts) {
    part = part.trimmed();
    // "*.*" means every file on the systems these filters come from, also names without a dot.
    if (part == QLatin1String("*.*")) part = QStringLiteral("*");
  }
  return parts.join(QLatin1Char(' '));
}

std::optional<TFileDialogAnswer> RunDialog(QWidget* owner, const TFileDialogRequest& request,
                                           QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  const QStringList filters = QtNameFilters(request.Filter);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters.at(request.FilterIndex - 1));
  }
  dialog.setDefaultSuffix(request.DefaultExt);
  if (!request.InitialDir.isEmpty()) dialog.setDirectory(request.InitialDir);
  if (!request.FileName.isEmpty()) {
    const QFileInfo name(request.FileName);
    if (name.isAbsolute()) dialog.setDirectory(name.absolutePath());
    dialog.selectFile(name.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileDialogAnswer answer;
  answer.FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  answer.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  if (answer.FilterIndex < 1) answer.FilterIndex = 1;
  return answer;
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts.at(i) + QStringLiteral(" (") + QtPatterns(parts.at(i + 1)) + QLatin1Char(')');
  }
  return filters;
}

std::optional<TFileDialogAnswer> TQtPrompts::AskOpenFile(QWidget* owner, const TFileDialogRequest& request) {
  return RunDialog(owner, request, QFileDialog::AcceptOpen);
}

std::optional<TFileDialogAnswer> TQtPrompts::AskSaveFile(QWidget* owner, const TFileDialogRequest& request) {
  return RunDialog(owner, request, QFileDialog::AcceptSave);
}

int TQtPrompts::ShowMessage(QWidget* owner, const QString& title, const QString& mainText,
                            const QString& content, int icon, int buttons) {
  return ShowTaskDialog(owner, title, mainText, content, icon, buttons);
}

}  // namespace tarvola::ui
