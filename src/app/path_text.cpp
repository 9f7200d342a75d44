#include "app/path_text.h"

#include <QDir>
#include <QFile>

namespace tarvola::app {

namespace {

bool IsSeparator(QChar c) { return c == QLatin1Char('/') || c == QDir::separator(); }

qsizetype NameStart(const QString& path) {
  qsizetype i = path.size();
  while (i > 0 && !IsSeparator(path.at(i - 1))) --i;
  return i;
}

}  // namespace

QString TrimDroppedPath(const QString& path) {
  qsizetype first = 0;
  qsizetype last = path.size();
  while (first < last && path.at(first).unicode() <= 0x20) ++first;
  while (last > first && path.at(last - 1).unicode() <= 0x20) --last;
  return path.mid(first, last - first);
}

QString FolderOf(const QString& path, bool withTrailingSeparator) {
  const qsizetype start = NameStart(path);
  if (start == 0) return {};
  if (withTrailingSeparator) return path.left(start);
  // The root folder keeps its separator.
  return start == 1 ? path.left(1) : path.left(start - 1);
}

QString NameWithoutExtension(const QString& path) {
  const QString name = path.mid(NameStart(path));
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

QString WithKmlExtension(const QString& name, bool asKml) {
  if (name.endsWith(QStringLiteral(".kml"), Qt::CaseInsensitive) ||
      name.endsWith(QStringLiteral(".kmz"), Qt::CaseInsensitive))
    return name;
  // A final dot is the start of the extension the user did not type.
  const QString stem = name.endsWith(QLatin1Char('.')) ? name.chopped(1) : name;
  return stem + (asKml ? QStringLiteral(".kml") : QStringLiteral(".kmz"));
}

std::filesystem::path ToFsPath(const QString& path) {
#ifdef _WIN32
  return std::filesystem::path(path.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString FileAndReason(const QString& path, const std::string& reason) {
  const QString file = QDir::toNativeSeparators(path);
  if (reason.empty()) return file;
  return file + QStringLiteral(": ") + QString::fromStdString(reason);
}

}  // namespace tarvola::app
