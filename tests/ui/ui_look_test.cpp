#include <gtest/gtest.h>

#include <ostream>

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>

#include <QApplication>
#include <QHelpEvent>
#include <QToolButton>

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

TEST(UiPlatform, ThisSystemIsOfTheModernKind) { EXPECT_TRUE(IsVistaOrLater()); }

TEST(UiPlatform, SystemUiFontIsTheDesktopsGeneralFont) {
  QFont font(QStringLiteral("Courier"), 30);
  SetSystemUiFont(font);
  EXPECT_EQ(font, QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

struct TFaceCase {
  const char* Name;
  QFont (*Make)();
  const char* Family;
  const char* File;
};

inline void PrintTo(const TFaceCase& row, std::ostream* os) { *os << row.Name; }

class CompatibleFonts : public ::testing::TestWithParam<TFaceCase> {};

TEST_P(CompatibleFonts, RegisteredFaceIsUsedAtElevenPixels) {
  const TFaceCase& row = GetParam();
  RegisterCompatibleFonts();
  const QFont font = row.Make();
  EXPECT_EQ(font.pixelSize(), 11);
  if (!QFile::exists(QString::fromLatin1(row.File))) GTEST_SKIP() << row.File << " is not installed";
  EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(row.Family));
}

INSTANTIATE_TEST_SUITE_P(
    Faces, CompatibleFonts,
    ::testing::Values(TFaceCase{"Tahoma", &PanelFont, "Tahoma", "/usr/share/wine/fonts/tahoma.ttf"},
                      TFaceCase{"MsSansSerif", &ClassicFont, "MS Sans Serif", "/usr/share/wine/fonts/ms_sans_serif.ttf"}),
    test::TRowName());

}  // namespace
}  // namespace tarvola::ui
