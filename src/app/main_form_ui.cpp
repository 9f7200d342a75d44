#include "app/main_form_ui.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/wait_panel.h"
#include "ui/ui_fonts.h"
#include "view/gps_tree_view.h"
#include "view/tree_images.h"

namespace tarvola::app {

namespace {

constexpr int TopPanelHeight = 75;
constexpr int AboutRightGap = 400 - 373;
const QColor TopPanelColour(207, 209, 216);
// Disabled captions still readable on the panel: a contrast of 3.6 : 1.
const QColor DisabledTextColour(105, 105, 105);

QToolButton* SpeedButton(QWidget* parent, const QRect& place, const QString& caption, const char* glyph) {
  auto* button = new QToolButton(parent);
  button->setGeometry(place);
  button->setText(caption);
  button->setFocusPolicy(Qt::StrongFocus);
  if (glyph) {
    button->setIcon(view::MainIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  } else {
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  }
  return button;
}

QCheckBox* OptionBox(QWidget* parent, const QRect& place, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, parent);
  box->setGeometry(place);
  box->setChecked(checked);
  box->setEnabled(false);
  box->setFocusPolicy(Qt::StrongFocus);
  return box;
}

QWidget* BuildTopPanel(QWidget* form) {
  auto* panel = new QWidget(form);
  panel->setObjectName(QStringLiteral("TopPanel"));
  panel->setFixedHeight(TopPanelHeight);
  panel->setAutoFillBackground(true);
  QPalette colours = panel->palette();
  colours.setColor(QPalette::Window, TopPanelColour);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    colours.setColor(QPalette::Disabled, role, DisabledTextColour);
  }
  panel->setPalette(colours);
  panel->setFont(ui::PanelFont());
  return panel;
}

void BuildButtons(TMainFormUi& ui) {
  QWidget* panel = ui.TopPanel;
  ui.OpenBt = SpeedButton(panel, {15, 10, 118, 25}, QStringLiteral("Open GPX file"), "buttons/open");
  ui.SaveBt = SpeedButton(panel, {15, 40, 103, 25}, QStringLiteral("Save KMZ/KML"), "buttons/save");
  ui.SaveBt->setEnabled(false);
  ui.OptionsBt = SpeedButton(panel, {117, 40, 16, 25}, QStringLiteral("+"), nullptr);
  ui.OptionsBt->setToolTip(QStringLiteral("more options..."));
  ui.OptionsBt->setContextMenuPolicy(Qt::CustomContextMenu);
  ui.AboutBt = SpeedButton(panel, {373, 4, 23, 23}, QString(), "buttons/about");
  ui.AboutBt->setAutoRaise(true);
  ui.AboutBt->setCursor(Qt::PointingHandCursor);
  ui.AboutBt->setToolTip(QStringLiteral("About..."));
}

void BuildChecks(TMainFormUi& ui) {
  QWidget* panel = ui.TopPanel;
  ui.WaypointsCheck = OptionBox(panel, {150, 7, 110, 17}, QStringLiteral("Export Waypoints"), true);
  ui.RoutesCheck = OptionBox(panel, {150, 30, 110, 17}, QStringLiteral("Export Routes"), true);
  ui.TracksCheck = OptionBox(panel, {150, 53, 110, 17}, QStringLiteral("Export Tracks"), true);
  ui.TimeCheck = OptionBox(panel, {266, 30, 120, 17}, QStringLiteral("Export Time stamps"), false);
  ui.JoinSegsCheck = OptionBox(panel, {266, 53, 120, 17}, QStringLiteral("Join track segments"), false);
}

void BuildOptionPopup(TMainFormUi& ui, QWidget* form) {
  ui.OptionPopup = new QMenu(form);
  ui.OptionPopup->setFont(ui::PanelFont());
  ui.OpenGeBt = ui.OptionPopup->addAction(view::MainIcon("menu/globe"), QStringLiteral("Open Google Earth"));
  ui.OpenLastSavedBt =
      ui.OptionPopup->addAction(view::MainIcon("menu/open_folder"), QStringLiteral("Open with GE last saved file"));
}

// Keeps an action's enabled state equal to its button's, whoever changes the button.
class TEnabledMirror : public QObject {
public:
  TEnabledMirror(QWidget* button, QAction* action) : QObject(action), FButton(button), FAction(action) {
    action->setEnabled(button->isEnabled());
    button->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == FButton && event->type() == QEvent::EnabledChange) FAction->setEnabled(FButton->isEnabled());
    return false;
  }

private:
  QWidget* FButton;
  QAction* FAction;
};

QAction* Shortcut(QWidget* form, const QString& text, const QKeySequence& keys) {
  auto* action = new QAction(text, form);
  action->setShortcut(keys);
  form->addAction(action);
  return action;
}

void BuildShortcuts(TMainFormUi& ui, QWidget* form) {
  ui.OpenAction = Shortcut(form, ui.OpenBt->text(), QKeySequence(Qt::CTRL | Qt::Key_O));
  ui.SaveAction = Shortcut(form, ui.SaveBt->text(), QKeySequence(Qt::CTRL | Qt::Key_S));
  new TEnabledMirror(ui.SaveBt, ui.SaveAction);
  ui.CloseAction = Shortcut(form, QStringLiteral("Close"), QKeySequence(Qt::CTRL | Qt::Key_Q));
  ui.AboutAction = Shortcut(form, ui.AboutBt->toolTip(), QKeySequence(Qt::Key_F1));
}

// The reading order: the buttons on the left, the options column by column, About, the tree.
void SetTabOrder(const TMainFormUi& ui) {
  QWidget* const order[] = {ui.OpenBt,      ui.SaveBt,    ui.OptionsBt,     ui.WaypointsCheck,
                                  ui.RoutesCheck, ui.TracksCheck, ui.TimeCheck,   ui.JoinSegsCheck,
                                  ui.AboutBt,     ui.GpxTreeView};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }
}

}  // namespace

TMainFormUi BuildMainFormUi(QWidget* form) {
  TMainFormUi ui;
  ui.TopPanel = BuildTopPanel(form);
  BuildButtons(ui);
  BuildChecks(ui);
  ui.GpxTreeView = new view::TGpsTreeView(form);
  ui.GpxTreeView->setObjectName(QStringLiteral("GpxTreeView"));
  auto* layout = new QVBoxLayout(form);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ui.TopPanel);
  layout->addWidget(ui.GpxTreeView, 1);
  ui.WaitPanel = new TWaitPanel(form);
  BuildOptionPopup(ui, form);
  BuildShortcuts(ui, form);
  SetTabOrder(ui);
  return ui;
}

void AnchorAboutButton(const TMainFormUi& ui) {
  ui.AboutBt->move(ui.TopPanel->width() - AboutRightGap, ui.AboutBt->y());
}

}  // namespace tarvola::app
