#include <cmath>
#include <ostream>
#include <tuple>
#include <QApplication>
#include <QDir>
#include <QStyleOptionButton>
#include <QFontInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include "app/app_identity.h"
#include "main_form_fixture.h"
#include "product_identity.h"
#include "ui/about_form.h"
#include "ui/ui_fonts.h"
#include "test_support.h"

namespace tarvola::test {
namespace {

using MainForm = MainFormTest;

TEST_F(MainForm, OpensAtItsDesignSizeAndCannotShrink) {
  EXPECT_EQ(Form->windowTitle(), QStringLiteral("Tarvola"));
  EXPECT_EQ(Form->size(), QSize(400, 380));
  EXPECT_EQ(Form->minimumSize(), QSize(400, 380));
  EXPECT_TRUE(Form->Initialized());
  EXPECT_EQ(Form->TempDir(), QString::fromStdString(Folder.File("tmp").string()) + QDir::separator());
}

TEST_F(MainForm, CarriesTheDesktopEntryNameAndTheIcon) {
  app::SetApplicationIdentity();
  EXPECT_EQ(QGuiApplication::desktopFileName().toStdU16String(), product::AppIdUtf16);
  EXPECT_EQ(QApplication::applicationVersion().toStdU16String(), product::VersionUtf16);
  // Drawn, not merely named: an icon whose artwork cannot be rendered gives no pixmap.
  EXPECT_FALSE(Form->windowIcon().pixmap(QSize(32, 32)).isNull());
}

struct TPlace {
  const char* Name;
  QAbstractButton* (*Get)(app::TMainFormUi&);
  const char* Caption;
};

inline void PrintTo(const TPlace& row, std::ostream* os) { *os << row.Name; }

// The width the style leaves for the caption inside the control.
int CaptionRoom(const QAbstractButton& button) {
  if (auto* box = qobject_cast<const QCheckBox*>(&button)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
  }
  const int frame = button.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &button);
  const int icon = button.icon().isNull() ? 0 : button.iconSize().width() + 4;
  return button.width() - 2 * frame - icon;
}

#define CONTROL(name, caption) \
  TPlace { #name, [](app::TMainFormUi& ui) -> QAbstractButton* { return ui.name; }, caption }

const TPlace Controls[] = {CONTROL(OpenBt, "Open GPX file"),        CONTROL(SaveBt, "Save KMZ/KML"),
                           CONTROL(OptionsBt, "+"),                 CONTROL(AboutBt, ""),
                           CONTROL(WaypointsCheck, "Export Waypoints"), CONTROL(RoutesCheck, "Export Routes"),
                           CONTROL(TracksCheck, "Export Tracks"),   CONTROL(TimeCheck, "Export Time stamps"),
                           CONTROL(JoinSegsCheck, "Join track segments")};

class ControlPlace : public MainFormTest, public ::testing::WithParamInterface<TPlace> {};

// At the design size every control lies on the top panel, clear of the others, its caption whole.
TEST_P(ControlPlace, LiesClearOfTheOthersWithTheWholeCaptionShown) {
  QAbstractButton* button = GetParam().Get(Ui());
  EXPECT_EQ(button->parentWidget(), Ui().TopPanel);
  EXPECT_TRUE(Ui().TopPanel->rect().contains(button->geometry())) << "off the panel";
  // Neighbours may share a border line, as the options button shares the save button's edge.
  for (const TPlace& other : Controls) {
    const QRect shared = button->geometry() & other.Get(Ui())->geometry();
    EXPECT_TRUE(other.Get(Ui()) == button || shared.width() <= 1 || shared.height() <= 1) << other.Name;
  }
  EXPECT_EQ(button->text(), QString::fromUtf8(GetParam().Caption));
  // Wine's stand-in for Tahoma is wider than the one the layout was made with.
  if (!RunningUnderWine()) {
    EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), CaptionRoom(*button)) << "caption clipped";
  }
  EXPECT_EQ(QFontInfo(button->font()).pixelSize(), 11);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlPlace, ::testing::ValuesIn(Controls), test::TRowName());

QString FocusName() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* button = qobject_cast<QAbstractButton*>(focus)) return button->text() + button->toolTip();
  return focus ? focus->objectName() : QStringLiteral("(none)");
}

TEST_F(MainForm, KeyboardReachesEveryControlAndBothMenus) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  Ui().OpenBt->setFocus();
  QStringList order;
  for (int i = 0; i < 11; ++i) {
    order << FocusName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order, QStringList({"Open GPX file", "Save KMZ/KML", "+more options...", "Export Waypoints",
                                "Export Routes", "Export Tracks", "Export Time stamps", "Join track segments",
                                "About...", "GpxTreeView", "Open GPX file"}));

  Ui().RoutesCheck->setFocus();
  QTest::keyClick(Ui().RoutesCheck, Qt::Key_Space);
  EXPECT_FALSE(Ui().RoutesCheck->isChecked());
  EXPECT_EQ(Groups(), QStringList({"Waypoints (2)", "Tracks (1)"}));

  Ui().OptionsBt->setFocus();
  QTest::keyClick(Ui().OptionsBt, Qt::Key_Space);
  EXPECT_TRUE(Ui().OptionPopup->isVisible());
  Ui().OptionPopup->close();

  for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Menu}) {
    Ui().GpxTreeView->setFocus();
    QTest::keyClick(Ui().GpxTreeView, key, key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_TRUE(Ui().GpxTreeView->TreePopup()->isVisible()) << key;
    Ui().GpxTreeView->TreePopup()->close();
  }
}

// The tree takes what the top panel leaves; About keeps its distance from the right edge, the
// other controls their place; the wait panel keeps its place in proportion to the window.
TEST_F(MainForm, WideningKeepsAboutAtTheRightAndTheWaitPanelInProportion) {
  const int aboutGap = Form->width() - Ui().AboutBt->geometry().right();
  const QRect open = Ui().OpenBt->geometry();
  const QPointF waitCentre(Ui().WaitPanel->geometry().center().x() / 400.0,
                           Ui().WaitPanel->geometry().center().y() / 380.0);
  Form->resize(800, 760);
  const int panelHeight = Ui().TopPanel->height();
  EXPECT_EQ(Ui().TopPanel->width(), 800);
  EXPECT_EQ(Ui().GpxTreeView->geometry(), QRect(0, panelHeight, 800, 760 - panelHeight));
  EXPECT_EQ(Form->width() - Ui().AboutBt->geometry().right(), aboutGap);
  EXPECT_EQ(Ui().OpenBt->geometry(), open);
  EXPECT_NEAR(Ui().WaitPanel->geometry().center().x() / 800.0, waitCentre.x(), 0.01);
  EXPECT_NEAR(Ui().WaitPanel->geometry().center().y() / 760.0, waitCentre.y(), 0.01);
  Form->resize(300, 200);
  EXPECT_EQ(Form->size(), QSize(400, 380));
}

TEST_F(MainForm, WaitPanelIsDrawnAboveTheTree) {
  Form->ShowWaitPanel();
  EXPECT_TRUE(Ui().WaitPanel->isVisible());
  EXPECT_EQ(Form->childAt(200, 208), Ui().GpxTreeView->viewport()) << "the panel lets the mouse through";
  const QImage shot = Form->grab().toImage();
  EXPECT_EQ(shot.pixelColor(155, 200), QColor(215, 227, 236));
  RunEventLoop();
  EXPECT_FALSE(Ui().WaitPanel->isVisible());
}

TEST_F(MainForm, PlusButtonPopsTheOptionMenuAtItsCentre) {
  Form->OptionsBtClick();
  QMenu* menu = Ui().OptionPopup;
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->pos(), Ui().OptionsBt->mapToGlobal(QPoint(8, 12)));
  EXPECT_EQ(Ui().OpenGeBt->text(), QStringLiteral("Open Google Earth"));
  EXPECT_EQ(Ui().OpenLastSavedBt->text(), QStringLiteral("Open with GE last saved file"));
  menu->hide();
}

TEST_F(MainForm, RightClickOnPlusPopsTheMenuAtTheMouse) {
  const QPoint local(3, 20);
  QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, local, Ui().OptionsBt->mapToGlobal(local));
  QCoreApplication::sendEvent(Ui().OptionsBt, &menuEvent);
  ASSERT_TRUE(Ui().OptionPopup->isVisible());
  EXPECT_EQ(Ui().OptionPopup->pos(), Ui().OptionsBt->mapToGlobal(local));
  Ui().OptionPopup->hide();
}

double Luminance(const QColor& c) {
  const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

// The options are disabled until a file is loaded; their captions must still be legible.
TEST_F(MainForm, DisabledOptionCaptionsContrastWithThePanel) {
  for (QCheckBox* box : {Ui().WaypointsCheck, Ui().TimeCheck}) {
    ASSERT_FALSE(box->isEnabled());
    const QImage shot = box->grab().toImage();
    double darkest = 1;
    QColor ink;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = shot.width() / 4; x < shot.width(); ++x) {  // the caption, right of the box
        const double l = Luminance(shot.pixelColor(x, y));
        if (l < darkest) std::tie(darkest, ink) = std::tuple(l, shot.pixelColor(x, y));
      }
    }
    const double contrast = (Luminance(QColor(207, 209, 216)) + 0.05) / (darkest + 0.05);
    EXPECT_GE(contrast, 3.0) << box->text().toStdString() << " " << ink.name().toStdString();
  }
}

TEST_F(MainForm, TreeUsesTheClassicFontAndTheTopPanelTahoma) {
  ui::RegisterCompatibleFonts();
  EXPECT_EQ(Ui().GpxTreeView->font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(Ui().TopPanel->font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(Ui().TopPanel->palette().color(QPalette::Window), QColor(207, 209, 216));
}

TEST_F(MainForm, CaptionNamesTheLoadedFile) {
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  EXPECT_EQ(Form->windowHandle()->title(), QStringLiteral("trip.gpx - Tarvola"));
#ifndef _WIN32  // where "*" may stand in a file name
  // Qt's modified-mark placeholder must not eat part of a file name.
  OpenWithDialog(Gpx("plan[*].gpx", EmptyGpx));
  EXPECT_EQ(Form->windowHandle()->title(), QStringLiteral("plan[*].gpx - Tarvola"));
#endif
  OpenWithDialog(Folder.File("missing.gpx"));
  EXPECT_EQ(Form->windowHandle()->title(), QStringLiteral("Tarvola"));
}

class TPaintCounter : public QObject {
public:
  int Paints = 0;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

// `tarvola FILE` read the file before the window was first painted: a black window for seconds.
TEST_F(MainForm, CommandLineFileIsReadAfterTheWindowIsPaintedWithTheWaitPanelShown) {
  TScriptedPrompts prompts;
  app::TMainForm form(prompts);
  TPaintCounter paints;
  form.installEventFilter(&paints);
  form.OpenWhenShown(Q(Folder.File("missing.gpx")));
  RunEventLoop();
  EXPECT_TRUE(prompts.Messages.empty()) << "read before the window was shown";
  form.show();
  int paintsBefore = -1;
  bool exposed = false, waitShown = false;
  prompts.OnMessage = [&](const TScriptedPrompts::TMessage& m) {
    if (paintsBefore >= 0) return;
    paintsBefore = paints.Paints;
    exposed = form.windowHandle()->isExposed();
    waitShown = form.Ui().WaitPanel->isVisible();
    EXPECT_EQ(m.MainText, QStringLiteral("Cannot open file"));
  };
  for (int i = 0; i < 50 && prompts.Messages.empty(); ++i) RunEventLoop(10);
  ASSERT_EQ(prompts.Messages.size(), 1u);
  EXPECT_GT(paintsBefore, 0);
  EXPECT_TRUE(exposed);
  EXPECT_TRUE(waitShown);
  // Over the window, not in a corner of the screen.
  for (const auto& m : prompts.Messages) EXPECT_EQ(m.Owner, &form);

  form.OpenWhenShown(Q(Gpx("trip.gpx", FullGpx)));
  for (int i = 0; i < 50 && !form.Workspace().Data; ++i) RunEventLoop(10);
  EXPECT_EQ(form.windowHandle()->title(), QStringLiteral("trip.gpx - Tarvola"));
  EXPECT_EQ(prompts.Messages.size(), 1u);
  EXPECT_TRUE(prompts.OpenRequests.empty());
}

TEST_F(MainForm, KeyboardReachesOpenSaveAboutAndClose) {
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  QTest::keyClick(Form.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(Prompts.SaveRequests.empty()) << "saved with nothing loaded";
  Prompts.OpenAnswers.push_back(ui::TFileDialogAnswer{Q(Gpx("trip.gpx", FullGpx)), 1});
  QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Prompts.OpenRequests.size(), 1u);
  ASSERT_TRUE(Ui().SaveBt->isEnabled());
  QTest::keyClick(Form.get(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(Prompts.SaveRequests.size(), 1u);
  bool aboutShown = false;
  QTimer::singleShot(0, [&] {
    aboutShown = ui::AboutForm() != nullptr;
    if (aboutShown) ui::AboutForm()->close();
  });
  QTest::keyClick(Form.get(), Qt::Key_F1);
  EXPECT_TRUE(aboutShown);
  EXPECT_EQ(Ui().OpenBt->text(), QStringLiteral("Open GPX file"));
  EXPECT_EQ(Ui().SaveBt->text(), QStringLiteral("Save KMZ/KML"));
  Form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  QTest::keyClick(Form.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(Form->isVisible());
}

TEST_F(MainForm, ScreenshotWithAFileLoaded) {
  const QByteArray dir = qgetenv("TARVOLA_SCREENSHOT_DIR");
  OpenWithDialog(Gpx("trip.gpx", FullGpx));
  RunEventLoop();
  const QImage shot = Form->grab().toImage();
  EXPECT_EQ(shot.deviceIndependentSize().toSize(), QSize(400, 380));
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(207, 209, 216));
  if (dir.isEmpty()) return;
  shot.save(QString::fromLocal8Bit(dir) + QStringLiteral("/main-window.png"));
  Ui().OptionPopup->popup(Ui().OptionsBt->mapToGlobal(QPoint(10, 10)));
  RunEventLoop();
  Ui().OptionPopup->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/option-menu.png"));
  QMenu* kinds = Ui().OptionPopup->actions().constLast()->menu();
  kinds->popup(QPoint(0, 0));
  RunEventLoop();
  kinds->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/kml-document-menu.png"));
  kinds->hide();
  Ui().OptionPopup->hide();
}

}  // namespace
}  // namespace tarvola::test
