#include "ui/about_form.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolButton>

#include "ui/about_glass.h"
#include "ui/about_gradient.h"
#include "ui/artwork.h"
#include "ui/task_dialog.h"

// Outside any namespace, as Qt's resource initialisation needs it.
static void InitAboutResources() {
  Q_INIT_RESOURCE(about);
}

namespace tarvola::ui {

namespace {


constexpr QMargins GlassMargins{50, 0, 50, 25};  // left, top, right, bottom
const QColor FormColor(73, 50, 35);
const QColor FlatColor(240, 240, 240);
const QColor BakColor(172, 167, 162);
const QColor GoldColor(45, 22, 0);
const QColor LabelColor(1, 1, 1);
const QColor ButtonTextColor(75, 75, 75);
// Dark on the panel's grey: white there was hard to read.
const QColor LinkCaptionColor(45, 22, 0);

TAboutForm* CurrentAboutForm = nullptr;

QFont PixelFont(const QString& family, int pixels, bool boldItalic = false) {
  QFont font(family);
  // Where the named face is missing, faces of its width before the wider defaults.
  font.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
  font.setPixelSize(pixels);
  font.setBold(boldItalic);
  font.setItalic(boldItalic);
  return font;
}

void SetColor(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

// A panel with a lowered inner bevel on its right and bottom edges only.
class TBevelPanel : public QWidget {
public:
  using QWidget::QWidget;

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
  }
};

QLabel* MakeLabel(QWidget* parent, QRect place, const QFont& font, const QColor& color) {
  auto* label = new QLabel(parent);
  label->setGeometry(place);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  label->setAttribute(Qt::WA_TranslucentBackground);
  SetColor(label, QPalette::WindowText, color);
  return label;
}

QToolButton* MakeButton(QWidget* parent, QRect place, const QString& caption, const QString& glyph) {
  auto* button = new QToolButton(parent);
  button->setGeometry(place);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFont(PixelFont(QStringLiteral("Arial"), 10));
  SetColor(button, QPalette::ButtonText, ButtonTextColor);
  button->setIconSize(QSize(16, 16));
  button->setIcon(QIcon(ArtworkPixmap(glyph, QSize(16, 16))));
  button->setText(caption);
  button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
  return button;
}

}  // namespace

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
}

QString AddressForDisplay(const QString& address) {
  const qsizetype scheme = address.indexOf(QStringLiteral("://"));
  QString shown = scheme >= 0 ? address.mid(scheme + 3) : address.mid(7);
  if (shown.endsWith(u'/')) shown.chop(1);
  return shown;
}

TAboutForm::TAboutForm(QWidget* owner, TAboutContent content, TOpenLink opener, TBlurBehind blurBehind,
                       TUserPrompts& prompts)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      FContent(std::move(content)),
      FOpener(std::move(opener)),
      FBlurBehind(std::move(blurBehind)),
      FPrompts(prompts) {
  InitAboutResources();
  setWindowTitle(QStringLiteral("About..."));
  setFixedSize(400, 235);
  setAutoFillBackground(true);
  SetColor(this, QPalette::Window, FormColor);
  setFont(PixelFont(QStringLiteral("Tahoma"), 11));
  CreateComponents();
  FormCreate();
}

void TAboutForm::CreateComponents() {
  IconImage = new QLabel(this);
  IconImage->setGeometry(13, 15, 128, 128);
  IconImage->setAttribute(Qt::WA_TranslucentBackground);
  IconImage->setPixmap(ArtworkPixmap(QStringLiteral(":/about/tarvola_icon"), QSize(128, 128)));

  VellorImage = new QLabel(this);
  VellorImage->setGeometry(348, 6, 48, 30);  // inside the window's 400 pixels
  VellorImage->setPixmap(ArtworkPixmap(QStringLiteral(":/about/maker_logo"), QSize(48, 30)));

  VellorLabel = new TClickLabel(this);
  VellorLabel->setGeometry(14, 215, 130, 20);  // its bottom on the window's
  VellorLabel->setFont(PixelFont(QStringLiteral("Tahoma"), 11));
  VellorLabel->setTextFormat(Qt::PlainText);
  VellorLabel->setAlignment(Qt::AlignCenter);
  VellorLabel->setAttribute(Qt::WA_TranslucentBackground);
  VellorLabel->setCursor(Qt::PointingHandCursor);
  SetColor(VellorLabel, QPalette::WindowText, LabelColor);
  VellorLabel->OnClick = [this] { OpenLink(FContent.Links().Products); };

  ProdNameLabel = MakeLabel(this, {111, 6, 245, 45}, PixelFont(QStringLiteral("Arial"), 16, true), LabelColor);
  ProdNameLabel->setAlignment(Qt::AlignCenter);

  BakPanel = new TBevelPanel(this);
  BakPanel->setGeometry(150, 60, 250, 175);
  BakPanel->setAutoFillBackground(true);
  SetColor(BakPanel, QPalette::Window, BakColor);
  BakPanel->setFont(PixelFont(QStringLiteral("Tahoma"), 11));

  BakImage = new QLabel(BakPanel);
  BakImage->setGeometry(2, 2, 200, 100);

  ContactBt = MakeButton(BakPanel, {201, 79, 40, 25}, QString(), QStringLiteral(":/about/glyph_contact"));
  connect(ContactBt, &QToolButton::clicked, this, [this] { OpenLink(FContent.Links().Contact); });
  HomeBt = MakeButton(BakPanel, {9, 79, 90, 25}, QStringLiteral("Home"), QStringLiteral(":/about/glyph_home"));
  connect(HomeBt, &QToolButton::clicked, this, [this] { OpenLink(FContent.Links().Home); });

  InfoLabel = MakeLabel(BakPanel, {15, 7, 220, 70}, PixelFont(QStringLiteral("Tahoma"), 11), Qt::black);
  InfoLabel->setAlignment(Qt::AlignCenter);
  InfoLabel->setWordWrap(true);

  // Each caption centred on its button's height, tall enough for descenders and as wide as
  // the panel allows, for the faces that stand in for Arial.
  const QFont linkFont = PixelFont(QStringLiteral("Arial"), 11, true);
  TarvolaLabel = MakeLabel(BakPanel, {67, 114, 180, 17}, linkFont, LinkCaptionColor);
  TarvolaBt = MakeButton(BakPanel, {21, 110, 40, 25}, QString(), QStringLiteral(":/about/glyph_companion"));
  connect(TarvolaBt, &QToolButton::clicked, this, [this] { OpenLink(FContent.CompanionUrl); });
  GpsUtilsLabel = MakeLabel(BakPanel, {67, 145, 180, 17}, linkFont, LinkCaptionColor);
  GpsUtilsBt = MakeButton(BakPanel, {21, 141, 40, 25}, QString(), QStringLiteral(":/about/glyph_gps_utils"));
  connect(GpsUtilsBt, &QToolButton::clicked, this, [this] { OpenLink(FContent.GpsUtilsUrl); });
  VideoBt = MakeButton(BakPanel, {105, 79, 90, 25}, QStringLiteral("Video"), QStringLiteral(":/about/glyph_video"));
  connect(VideoBt, &QToolButton::clicked, this, [this] { OpenLink(FContent.Links().Video); });

  GoldPanel = new QWidget(this);
  GoldPanel->setGeometry(0, 0, 12, height());
  GoldPanel->setAutoFillBackground(true);
  SetColor(GoldPanel, QPalette::Window, GoldColor);
}

void TAboutForm::FormCreate() {
  const QString twoSpaces = QStringLiteral("  ");
  ProdNameLabel->setText(twoSpaces + FContent.ProductName + twoSpaces);
  // The built-in address, even when the service document has named another one.
  VellorLabel->setText(twoSpaces + AddressForDisplay(FContent.ProductsAddress) + twoSpaces);
  InfoLabel->setText(FContent.VersionLine + QStringLiteral("\r\n\r\n") + FContent.InfoLine1 +
                     QStringLiteral("\r\n") + FContent.InfoLine2);
  TarvolaLabel->setText(FContent.CompanionName);
  GpsUtilsLabel->setText(QStringLiteral("GPS converters and utilities"));
  HomeBt->setToolTip(QStringLiteral("Visit our home page"));
  VideoBt->setToolTip(QStringLiteral("View our demonstration video"));
  ContactBt->setToolTip(QStringLiteral("Send us your comments or suggestions"));
}

void TAboutForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (const QScreen* where = screen()) move(where->availableGeometry().center() - rect().center());
  FormShow();
}

void TAboutForm::FormShow() {
  const QRect blurRegion(QPoint(50, 0), QPoint(width() - 50 - 1, 50 - 1));
  if (FBlurBehind(this, blurRegion) == -1) {
    SetColor(this, QPalette::Window, FlatColor);
    FGlassFrame = false;
    GoldPanel->hide();
  } else {
    FGlassFrame = true;
  }
  SetGlassFrame(this, FGlassFrame, GlassMargins);
  BakImage->setPixmap(QPixmap::fromImage(PaintBakGradient()));
}

void TAboutForm::OpenLink(const QString& address) {
  QCoreApplication::processEvents();
  if (FOpener(address)) return;
  // The address stays readable, so the user can open it another way.
  FPrompts.ShowMessage(this, windowTitle(), QString::fromLatin1(NoBrowserText), address, TDialogIcon::Error,
                       ButtonsOk);
}

void AboutBtClick(QWidget* owner, TAboutContent content, TOpenLink opener, TUserPrompts& prompts) {
  TAboutForm form(owner, std::move(content), std::move(opener), EnableBlurBehind, prompts);
  CurrentAboutForm = &form;
  struct TClear {
    ~TClear() { CurrentAboutForm = nullptr; }
  } clearFirst;
  form.exec();
}

TAboutForm* AboutForm() {
  return CurrentAboutForm;
}

}  // namespace tarvola::ui
