#include "app/app_identity.h"

#include <QApplication>
#include <QIcon>

#include "product_identity.h"
#include "ui/artwork.h"

// Q_INIT_RESOURCE declares the resource's function where it stands: the global namespace.
static void InitAboutResource() { Q_INIT_RESOURCE(about); }

namespace {

QString FromUtf16(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

namespace tarvola::app {

QString ProductName() { return FromUtf16(product::NameUtf16); }

void SetProgramNames() {
  QCoreApplication::setApplicationName(FromUtf16(product::NameUtf16));
  QCoreApplication::setApplicationVersion(FromUtf16(product::VersionUtf16));
}

void SetApplicationIdentity() {
  InitAboutResource();
  SetProgramNames();
  QGuiApplication::setDesktopFileName(FromUtf16(product::AppIdUtf16));
  // The installed hicolor icons are drawn from this same file.
  QApplication::setWindowIcon(QIcon(ui::ArtworkFile(QStringLiteral(":/about/tarvola_icon"))));
}

}  // namespace tarvola::app
