#include "ui/about_form.h"

#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/about_content.h"
#include "product_identity.h"
#include "scripted_prompts.h"
#include "service/service_config.h"
#include "ui/about_glass.h"
#include "ui/about_gradient.h"
#include "test_support.h"

namespace tarvola::ui {
namespace {

namespace cfg = service::config;

int NoGlass(QWidget*, const QRect&) { return -1; }

class AboutFormTest : public ::testing::Test {
protected:
  AboutFormTest() {
    FService.HomeUrl = QStringLiteral("https://tarvola.example/home-now");
    FService.HomeContact = QStringLiteral("https://tarvola.example/contact-now");
    FService.ProdUrl = QStringLiteral("https://tarvola.example/products-now");
    FService.Video = QStringLiteral("https://tarvola.example/video-now");
  }

  std::unique_ptr<TAboutForm> Make(TBlurBehind blur = NoGlass) {
    auto form = std::make_unique<TAboutForm>(nullptr, app::AboutContent(FService), [this](const QString& url) {
      FOpened.append(url);
      return false;  // a link that cannot be opened changes nothing
    }, std::move(blur), FPrompts);
    return form;
  }

  service::TService FService;
  QStringList FOpened;
  test::TScriptedPrompts FPrompts;
};

QWidget* Component(TAboutForm& form, const std::string& name) {
  const std::map<std::string, QWidget*> all{
      {"IconImage", form.IconImage},     {"VellorImage", form.VellorImage}, {"VellorLabel", form.VellorLabel},
      {"ProdNameLabel", form.ProdNameLabel}, {"BakPanel", form.BakPanel}, {"BakImage", form.BakImage},
      {"ContactBt", form.ContactBt},     {"HomeBt", form.HomeBt},           {"InfoLabel", form.InfoLabel},
      {"TarvolaLabel", form.TarvolaLabel}, {"TarvolaBt", form.TarvolaBt}, {"GpsUtilsLabel", form.GpsUtilsLabel},
      {"GpsUtilsBt", form.GpsUtilsBt},   {"VideoBt", form.VideoBt},         {"GoldPanel", form.GoldPanel}};
  return all.at(name);
}

// The panel holds the links and the version text, the window the rest; no text or button
// covers another.
TEST_F(AboutFormTest, TextsAndButtonsLieApartOnTheirHolders) {
  auto form = Make();
  const std::pair<QWidget*, std::vector<std::string>> holders[] = {
      {form.get(), {"VellorLabel", "ProdNameLabel", "IconImage", "VellorImage", "BakPanel", "GoldPanel"}},
      {form->BakPanel,
       {"HomeBt", "VideoBt", "ContactBt", "InfoLabel", "TarvolaBt", "TarvolaLabel", "GpsUtilsBt", "GpsUtilsLabel",
        "BakImage"}}};
  const auto isText = [](const std::string& name) { return name.find("Image") == std::string::npos &&
                                                           name.find("Panel") == std::string::npos; };
  for (const auto& [holder, names] : holders) {
    for (const std::string& name : names) {
      EXPECT_EQ(Component(*form, name)->parentWidget(), holder) << name;
      for (const std::string& other : names) {
        if (other == name || !isText(name) || !isText(other)) continue;
        EXPECT_FALSE(Component(*form, name)->geometry().intersects(Component(*form, other)->geometry()))
            << name << " covers " << other;
      }
    }
  }
}

TEST_F(AboutFormTest, WindowIsAFixedDialogWithoutMinimiseOrMaximise) {
  auto form = Make();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("About..."));
  EXPECT_EQ(form->size(), QSize(400, 235));
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form->windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(73, 50, 35));
  EXPECT_EQ(form->font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(form->font().pixelSize(), 11);
}

TEST_F(AboutFormTest, TextsAndHints) {
  auto form = Make();
  EXPECT_EQ(form->ProdNameLabel->text(), QStringLiteral("  Tarvola  "));
  EXPECT_EQ(form->InfoLabel->text(), QStringLiteral("version %1 (build %2)\r\n\r\n").arg(QString::fromUtf8(product::Version), QString::fromUtf8(product::Build)) + cfg::InfoLine1.toString() +
                                         QStringLiteral("\r\n") + cfg::InfoLine2.toString());
  EXPECT_EQ(form->GpsUtilsLabel->text(), QStringLiteral("GPS converters and utilities"));
  EXPECT_EQ(form->TarvolaLabel->text(), cfg::CompanionName.toString());
  EXPECT_EQ(form->HomeBt->text(), QStringLiteral("Home"));
  EXPECT_EQ(form->VideoBt->text(), QStringLiteral("Video"));
  EXPECT_TRUE(form->ContactBt->text().isEmpty());
  EXPECT_EQ(form->HomeBt->toolTip(), QStringLiteral("Visit our home page"));
  EXPECT_EQ(form->VideoBt->toolTip(), QStringLiteral("View our demonstration video"));
  EXPECT_EQ(form->ContactBt->toolTip(), QStringLiteral("Send us your comments or suggestions"));
  EXPECT_TRUE(form->TarvolaBt->toolTip().isEmpty());
  EXPECT_TRUE(form->GpsUtilsBt->toolTip().isEmpty());
}

TEST_F(AboutFormTest, VellorLabelShowsTheBuiltInProductsAddressWithoutScheme) {
  auto form = Make();
  const QString builtIn = cfg::ProductsUrl.toString();
  const QString shown = form->VellorLabel->text();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("  ")) && shown.endsWith(QStringLiteral("  ")));
  EXPECT_EQ(shown.mid(2, shown.size() - 4), AddressForDisplay(builtIn));
  EXPECT_TRUE(builtIn.endsWith(shown.trimmed()) || builtIn.endsWith(shown.trimmed() + u'/'));
  EXPECT_FALSE(shown.contains(QStringLiteral("://")));
  EXPECT_FALSE(shown.contains(FService.ProdUrl));
}

TEST(AddressForDisplayTest, DropsTheScheme) {
  EXPECT_EQ(AddressForDisplay(QStringLiteral("https://tarvola.example/p")), QStringLiteral("tarvola.example/p"));
  EXPECT_EQ(AddressForDisplay(QStringLiteral("http://www.tarvola.example")), QStringLiteral("www.tarvola.example"));
  EXPECT_EQ(AddressForDisplay(QStringLiteral("https://tarvola.example/")), QStringLiteral("tarvola.example"));
  EXPECT_EQ(AddressForDisplay(QStringLiteral("1234567tarvola")), QStringLiteral("tarvola"));
}

struct TFontRow {
  const char* Name;
  const char* Family;
  int Pixels;
  bool BoldItalic;
  QColor Color;
  QPalette::ColorRole Role;
};

void PrintTo(const TFontRow& row, std::ostream* os) { *os << row.Name; }

class AboutFontTest : public AboutFormTest, public ::testing::WithParamInterface<TFontRow> {};

TEST_P(AboutFontTest, HasItsFontAndColour) {
  auto form = Make();
  const TFontRow& row = GetParam();
  QWidget* widget = Component(*form, row.Name);
  EXPECT_EQ(widget->font().family(), QString::fromLatin1(row.Family));
  EXPECT_EQ(widget->font().pixelSize(), row.Pixels);
  EXPECT_EQ(widget->font().bold(), row.BoldItalic);
  EXPECT_EQ(widget->font().italic(), row.BoldItalic);
  EXPECT_EQ(widget->palette().color(row.Role), row.Color);
}

INSTANTIATE_TEST_SUITE_P(
    Components, AboutFontTest,
    ::testing::Values(
        TFontRow{"VellorLabel", "Tahoma", 11, false, QColor(1, 1, 1), QPalette::WindowText},
        TFontRow{"ProdNameLabel", "Arial", 16, true, QColor(1, 1, 1), QPalette::WindowText},
        TFontRow{"InfoLabel", "Tahoma", 11, false, QColor(0, 0, 0), QPalette::WindowText},
        TFontRow{"TarvolaLabel", "Arial", 11, true, QColor(45, 22, 0), QPalette::WindowText},
        TFontRow{"GpsUtilsLabel", "Arial", 11, true, QColor(45, 22, 0), QPalette::WindowText},
        TFontRow{"HomeBt", "Arial", 10, false, QColor(75, 75, 75), QPalette::ButtonText},
        TFontRow{"VideoBt", "Arial", 10, false, QColor(75, 75, 75), QPalette::ButtonText},
        TFontRow{"ContactBt", "Arial", 10, false, QColor(75, 75, 75), QPalette::ButtonText},
        TFontRow{"TarvolaBt", "Arial", 10, false, QColor(75, 75, 75), QPalette::ButtonText},
        TFontRow{"GpsUtilsBt", "Arial", 10, false, QColor(75, 75, 75), QPalette::ButtonText},
        TFontRow{"BakPanel", "Tahoma", 11, false, QColor(172, 167, 162), QPalette::Window},
        TFontRow{"GoldPanel", "Tahoma", 11, false, QColor(45, 22, 0), QPalette::Window}),
    test::TRowName());

TEST_F(AboutFormTest, PicturesAndGlyphsAreLoaded) {
  auto form = Make();
  EXPECT_EQ(form->IconImage->pixmap().size(), QSize(128, 128));
  EXPECT_TRUE(form->IconImage->pixmap().hasAlphaChannel());
  // Drawn artwork, not an empty picture.
  EXPECT_NE(form->IconImage->pixmap().toImage().pixelColor(60, 64).alpha(), 0);
  EXPECT_EQ(form->VellorImage->pixmap().size(), QSize(48, 30));
  EXPECT_NE(form->VellorImage->pixmap().toImage().pixelColor(24, 15).alpha(), 0);
  for (QToolButton* button : {form->HomeBt, form->VideoBt, form->ContactBt, form->TarvolaBt, form->GpsUtilsBt}) {
    EXPECT_EQ(button->iconSize(), QSize(16, 16));
    const QImage glyph = button->icon().pixmap(16, 16).toImage();
    EXPECT_NE(glyph.pixelColor(8, 8).alpha(), 0) << button->text().toStdString();
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  }
  EXPECT_EQ(form->VellorLabel->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(AboutFormTest, WithoutGlassTheBackgroundIsFlatAndTheStripHidden) {
  auto form = Make();
  form->show();
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(240, 240, 240));
  EXPECT_FALSE(form->GlassFrameEnabled());
  EXPECT_FALSE(form->GoldPanel->isVisible());
  EXPECT_EQ(form->BakImage->pixmap().toImage().convertToFormat(QImage::Format_RGB888), PaintBakGradient());
}

TEST_F(AboutFormTest, BlurErrorCodeStillMeansGlass) {
  QRect asked;
  auto form = Make([&](QWidget*, const QRect& region) {
    asked = region;
    return static_cast<int>(0x80004005u);  // a failure code, not "no window manager"
  });
  form->show();
  EXPECT_EQ(asked, QRect(QPoint(50, 0), QPoint(349, 49)));
  EXPECT_TRUE(form->GlassFrameEnabled());
  EXPECT_TRUE(form->GoldPanel->isVisible());
  EXPECT_EQ(form->palette().color(QPalette::Window), QColor(73, 50, 35));
}

TEST_F(AboutFormTest, EachLinkOpensItsAddress) {
  auto form = Make();
  form->show();
  QTest::mouseClick(form->VellorLabel, Qt::LeftButton);
  form->HomeBt->click();
  form->VideoBt->click();
  form->ContactBt->click();
  form->TarvolaBt->click();
  form->GpsUtilsBt->click();
  const QStringList expected{FService.ProdUrl,
                             FService.HomeUrl,
                             FService.Video,
                             FService.HomeContact + u'?' + cfg::ContactQuery.toString(),
                             cfg::CompanionUrl.toString(),
                             cfg::GpsUtilsUrl.toString()};
  EXPECT_EQ(FOpened, expected);
  EXPECT_TRUE(form->isVisible());
  // No browser took them: each link says so and shows its address, instead of doing nothing.
  QStringList told;
  for (const auto& message : FPrompts.Messages) {
    EXPECT_EQ(message.MainText, QString::fromLatin1(NoBrowserText));
    EXPECT_EQ(message.Owner, form.get());
    told << message.Content;
  }
  EXPECT_EQ(told, expected);
}

// What each element needs of its box: the text with the italic overhang, the picture, the
// button's own size.
QSize Need(QWidget* widget) {
  if (auto* button = qobject_cast<QToolButton*>(widget)) return button->sizeHint();
  auto* label = qobject_cast<QLabel*>(widget);
  if (!label) return {};
  if (label->text().isEmpty()) return label->pixmap().deviceIndependentSize().toSize();
  const QFontMetrics metrics(label->font());
  const QRect room = label->contentsRect();
  if (label->wordWrap()) {
    return metrics.boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text()).size();
  }
  const int ink = metrics.boundingRect(label->text()).right() + 1;
  return {std::max(metrics.horizontalAdvance(label->text()), ink), metrics.height()};
}

// Clipped parts were the badge at the right edge and the captions of the two lower links; run
// at 96 DPI and, by its own test entry, at 144.
TEST_F(AboutFormTest, EveryElementFitsItsBox) {
  if (test::RunningUnderWine()) GTEST_SKIP() << "Wine's GDI gives text bounds of 100,000 pixels";
  auto form = Make();
  form->show();
  for (const char* name : {"IconImage", "VellorImage", "VellorLabel", "ProdNameLabel", "BakPanel", "BakImage",
                           "ContactBt", "HomeBt", "InfoLabel", "TarvolaLabel", "TarvolaBt", "GpsUtilsLabel",
                           "GpsUtilsBt", "VideoBt", "GoldPanel"}) {
    QWidget* widget = Component(*form, name);
    EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << name << " leaves its parent";
    const QSize need = Need(widget);
    EXPECT_LE(need.width(), widget->contentsRect().width()) << name << " cut at the side";
    EXPECT_LE(need.height(), widget->contentsRect().height()) << name << " cut at the top or bottom";
  }
}

TEST_F(AboutFormTest, LinksFollowTheServiceSettingsAtClickTime) {
  auto form = Make();
  form->show();
  FService.HomeUrl = QStringLiteral("https://tarvola.example/from-the-document");
  form->HomeBt->click();
  EXPECT_EQ(FOpened, QStringList{QStringLiteral("https://tarvola.example/from-the-document")});
}

TEST_F(AboutFormTest, ShownTwiceGivesTheSamePicture) {
  auto form = Make();
  form->show();
  const QImage first = form->BakImage->pixmap().toImage();
  form->hide();
  form->show();
  EXPECT_EQ(form->BakImage->pixmap().toImage(), first);
}

TEST(AboutBtClickTest, ShowsModallyAndDestroysOnClose) {
  QWidget owner;
  owner.show();
  QStringList opened;
  bool wasModal = false;
  QPointer<TAboutForm> seen;
  QTimer::singleShot(0, [&] {
    seen = AboutForm();
    ASSERT_NE(seen, nullptr);
    wasModal = seen->isModal() && seen->isVisible();
    EXPECT_EQ(seen->parentWidget(), &owner);
    seen->HomeBt->click();
    seen->close();
  });
  test::TScriptedPrompts prompts;
  AboutBtClick(&owner, app::AboutContent(service::ServiceData()), [&](const QString& url) {
    opened.append(url);
    return true;
  }, prompts);
  EXPECT_TRUE(prompts.Messages.empty());
  EXPECT_TRUE(wasModal);
  EXPECT_TRUE(seen.isNull());
  EXPECT_EQ(AboutForm(), nullptr);
  EXPECT_EQ(opened, QStringList{service::ServiceData().HomeUrl});
}

}  // namespace
}  // namespace tarvola::ui
