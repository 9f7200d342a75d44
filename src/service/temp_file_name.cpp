#include "service/temp_file_name.h"

#include <QDir>
#include <QFileInfo>
#include <QStringView>

namespace tarvola::service {

namespace {

// Digits appear twice and some only once more: the draw is over the 72 places, not the characters.
constexpr QStringView NameAlphabet = u"Aa0Bb1Cc2Dd3Ee4Ff5Gg6Hh7Ii8Jj9Kk0Ll1Mm2Nn3Oo4Pp5Qq6Rr7Ss8Tt9UuVvWwXxYyZz";
static_assert(NameAlphabet.size() == 72);

}  // namespace

QString UniqueTempFileName(const QString& tempDir, std::mt19937& random) {
  std::uniform_int_distribution<qsizetype> pick(0, NameAlphabet.size() - 1);
  const QDir dir(tempDir);
  for (;;) {
    QString name;
    for (int i = 0; i < 8; ++i) name += NameAlphabet[pick(random)];
    const QString path = dir.filePath(name + QStringLiteral(".dat"));
    if (!QFileInfo::exists(path)) return path;
  }
}

}  // namespace tarvola::service
