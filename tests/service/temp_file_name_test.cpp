#include "service/temp_file_name.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvola::service {
namespace {

const QString Alphabet = QStringLiteral("Aa0Bb1Cc2Dd3Ee4Ff5Gg6Hh7Ii8Jj9Kk0Ll1Mm2Nn3Oo4Pp5Qq6Rr7Ss8Tt9UuVvWwXxYyZz");

TEST(UniqueTempFileNameTest, EightAlphabetCharactersAndDatInTheFolder) {
  QTemporaryDir dir;
  std::mt19937 random(7);
  QSet<QChar> seen;
  for (int i = 0; i < 200; ++i) {
    const QFileInfo name(UniqueTempFileName(dir.path() + QDir::separator(), random));
    EXPECT_EQ(QDir(name.absolutePath()), QDir(dir.path()));
    ASSERT_EQ(name.suffix(), QStringLiteral("dat"));
    ASSERT_EQ(name.completeBaseName().size(), 8);
    for (QChar c : name.completeBaseName()) {
      EXPECT_TRUE(Alphabet.contains(c)) << c.toLatin1();
      seen.insert(c);
    }
  }
  // 1600 draws over 62 distinct characters: every one of them turns up.
  EXPECT_EQ(seen.size(), QSet<QChar>(Alphabet.begin(), Alphabet.end()).size());
}

TEST(UniqueTempFileNameTest, DrawsAgainWhenTheNameIsTaken) {
  QTemporaryDir dir;
  std::mt19937 first(42);
  const QString taken = UniqueTempFileName(dir.path(), first);
  QFile file(taken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  std::mt19937 same(42);
  const QString next = UniqueTempFileName(dir.path(), same);
  EXPECT_NE(next, taken);
  EXPECT_FALSE(QFileInfo::exists(next));
}

TEST(UniqueTempFileNameTest, WorksWithoutTrailingSeparator) {
  QTemporaryDir dir;
  std::mt19937 random(1);
  const QFileInfo name(UniqueTempFileName(dir.path(), random));
  EXPECT_EQ(QDir(name.absolutePath()), QDir(dir.path()));
}

}  // namespace
}  // namespace tarvola::service
