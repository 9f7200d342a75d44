#include "ui/ui_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace tarvola::ui {

namespace {

constexpr int FontPixelSize = 11;

const QStringList& CompatibleFontFiles() {
  static const QStringList files = {
      QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"),
      QStringLiteral("/usr/share/wine/fonts/ms_sans_serif.ttf"),
  };
  return files;
}

// Where the named face is missing, narrow faces first: the captions were laid out for it.
QFont SansFont(const QString& family) {
  QFont font(family);
  font.setFamilies({family, QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(FontPixelSize);
  return font;
}

}  // namespace

void RegisterCompatibleFonts() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const QString& file : CompatibleFontFiles()) {
    if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
  }
}

QFont PanelFont() { return SansFont(QStringLiteral("Tahoma")); }

QFont ClassicFont() { return SansFont(QStringLiteral("MS Sans Serif")); }

}  // namespace tarvola::ui
