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

// The extension of a filter whose first pattern is "*.ext"; empty for anything else.
QString FilterSuffix(const QString& qtFilter) {
  const qsizetype open = qtFilter.lastIndexOf(QLatin1Char('('));
  const QString pattern = qtFilter.mid(open + 1).section(QLatin1Char(' '), 0, 0).remove(QLatin1Char(')'));
  if (!pattern.startsWith(QLatin1String("*.")) || pattern.size() < 3) return {};
  const QString suffix = pattern.mid(2);
  return suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')) ? QString() : suffix;
}

// The dialog may report a filter without the pattern part it hides.
int FilterIndexOf(const QStringList& filters, const QString& selected) {
  for (qsizetype i = 0; i < filters.size(); ++i) {
    const QString& filter = filters.at(i);
    if (filter == selected || filter.left(filter.lastIndexOf(QLatin1Char('('))).trimmed() == selected.trimmed()) {
      return int(i) + 1;
    }
  }
  return 1;
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
  // A name typed without an extension gets the one of the type shown, as the user expects.
  const auto followFilter = [&dialog, &request](const QString& filter) {
    const QString suffix = FilterSuffix(filter);
    dialog.setDefaultSuffix(suffix.isEmpty() ? request.DefaultExt : suffix);
  };
  if (mode == QFileDialog::AcceptSave) {
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
  }
  if (!request.InitialDir.isEmpty()) dialog.setDirectory(request.InitialDir);
  if (!request.FileName.isEmpty()) {
    const QFileInfo name(request.FileName);
    if (name.isAbsolute()) dialog.setDirectory(name.absolutePath());
    dialog.selectFile(name.fileName());
  }
  if (mode == QFileDialog::AcceptSave) followFilter(dialog.selectedNameFilter());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  TFileDialogAnswer answer;
  answer.FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  answer.FilterIndex = FilterIndexOf(filters, dialog.selectedNameFilter());
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

TDialogResult TQtPrompts::ShowMessage(QWidget* owner, const QString& title, const QString& mainText,
                                      const QString& content, TDialogIcon icon, int buttons) {
  return ShowTaskDialog(owner, title, mainText, content, icon, buttons);
}

}  // namespace tarvola::ui
