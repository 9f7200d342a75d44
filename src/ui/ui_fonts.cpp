#include "ui/ui_fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace tarvola::ui {

namespace {

constexpr int FontPixelSize = 11;

// Only outline faces: a bitmap face (MS Sans Serif among them) is drawn at one size whatever
// the screen's scale, its letters spread apart on a high-density screen.
const QStringList& CompatibleFontFiles() {
  static const QStringList files = {QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")};
  return files;
}

// Where the named face is missing or has no outlines, the face Windows itself puts in its place,
// then narrow faces: the captions were laid out for it.
QFont SansFont(const QString& family) {
  QFont font(family);
  font.setFamilies({family, QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma"),
                    QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                    QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setStyleStrategy(QFont::ForceOutline);
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
