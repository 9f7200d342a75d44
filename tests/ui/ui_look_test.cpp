#include <gtest/gtest.h>

#include <ostream>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <QApplication>
#include <QHelpEvent>
#include <QToolButton>

#ifdef _WIN32
#include "desktop/win_settings.h"
#endif
#include "ui/hint_time.h"
#include "ui/ui_fonts.h"
#include "ui/ui_platform.h"
#include "test_support.h"

namespace tarvola::ui {
namespace {

TEST(HintTime, EveryWidgetWithoutItsOwnTakesTheApplicationsTime) {
  SetApplicationHintTime(10000);
  QToolButton plain;
  QToolButton own;
  own.setToolTipDuration(2500);
  for (QWidget* widget : {static_cast<QWidget*>(&plain), static_cast<QWidget*>(&own)}) {
    widget->setToolTip(QStringLiteral("hint"));
    widget->show();
    QHelpEvent hint(QEvent::ToolTip, QPoint(1, 1), QPoint(1, 1));
    QApplication::sendEvent(widget, &hint);
  }
  EXPECT_EQ(plain.toolTipDuration(), 10000);
  EXPECT_EQ(own.toolTipDuration(), 2500);
}

TEST(UiPlatform, SystemUiFontIsTheDesktopsOwn) {
  QFont font(QStringLiteral("Courier"), 30);
  SetSystemUiFont(font);
#ifdef _WIN32
  // The icon-title font, as the system holds it.
  const auto system = desktop::win::IconTitleFont();
  ASSERT_TRUE(system);
  EXPECT_EQ(font.family().toStdString(), system->Face);
#else
  EXPECT_EQ(font, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
#endif
}

struct TFaceCase {
  const char* Name;
  QFont (*Make)();
  const char* Family;
  const char* File;
};

inline void PrintTo(const TFaceCase& row, std::ostream* os) { *os << row.Name; }

class CompatibleFonts : public ::testing::TestWithParam<TFaceCase> {};

// The box of the dark pixels of `text` drawn at `scale` on a white image, in device pixels.
QRect InkBox(const QFont& font, const QString& text, qreal scale) {
  QImage image(QSize(200, 40) * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(5, 25), text);
  }
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// On a high-density screen the letters grow with the scale: an outline face, never a bitmap.
TEST_P(CompatibleFonts, FaceIsUsedAtElevenPixelsAndGrowsWithTheScreensScale) {
  const TFaceCase& row = GetParam();
  RegisterCompatibleFonts();
  const QFont font = row.Make();
  EXPECT_EQ(font.pixelSize(), 11);
  const QRect one = InkBox(font, QStringLiteral("GPS data (12)"), 1);
  for (const qreal scale : {1.5, 2.0}) {
    const QRect scaled = InkBox(font, QStringLiteral("GPS data (12)"), scale);
    EXPECT_NEAR(scaled.width(), one.width() * scale, one.width() * 0.15) << scale;
    EXPECT_NEAR(scaled.height(), one.height() * scale, one.height() * 0.25) << scale;
  }
  if (!QFile::exists(QString::fromLatin1(row.File))) GTEST_SKIP() << row.File << " is not installed";
  EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(row.Family));
}

INSTANTIATE_TEST_SUITE_P(
    Faces, CompatibleFonts,
    ::testing::Values(TFaceCase{"Tahoma", &PanelFont, "Tahoma", "/usr/share/wine/fonts/tahoma.ttf"},
                      TFaceCase{"MsSansSerif", &ClassicFont, "Tahoma", "/usr/share/wine/fonts/tahoma.ttf"}),
    test::TRowName());

}  // namespace
}  // namespace tarvola::ui
