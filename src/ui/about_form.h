#pragma once

#include <functional>

#include <QDialog>
#include <QLabel>

#include "ui/user_prompts.h"

class QShowEvent;
class QToolButton;
class QWidget;

namespace tarvola::ui {

// The blur call of the desktop window manager: -1 when there is none (about_glass.h).
using TBlurBehind = std::function<int(QWidget*, const QRect&)>;

// Opens a web address for the user; true when a browser was started.
using TOpenLink = std::function<bool(const QString&)>;

// The maker's addresses that a service document may change; read at each click.
struct TAboutLinks {
  QString Products;
  QString Home;
  QString Contact;
  QString Video;
};

// What the About window shows and where its links go.
struct TAboutContent {
  QString ProductName;
  QString ProductsAddress;  // the built-in one, shown under the maker's badge
  QString VersionLine;
  QString InfoLine1;
  QString InfoLine2;
  QString CompanionName;
  QString CompanionUrl;
  QString GpsUtilsUrl;
  std::function<TAboutLinks()> Links;
};

// A label that reports clicks.
class TClickLabel : public QLabel {
public:
  using QLabel::QLabel;
  std::function<void()> OnClick;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The About window: name, version, the maker's links. It reads the addresses from
// content.Links at each click, so a service document that arrived meanwhile is honoured. A link that no
// browser opens is reported through prompts.
class TAboutForm : public QDialog {
public:
  TAboutForm(QWidget* owner, TAboutContent content, TOpenLink opener, TBlurBehind blurBehind,
             TUserPrompts& prompts);

  bool GlassFrameEnabled() const { return FGlassFrame; }

  QLabel* IconImage;
  QLabel* VellorImage;
  TClickLabel* VellorLabel;
  QLabel* ProdNameLabel;
  QWidget* BakPanel;
  QLabel* BakImage;
  QToolButton* ContactBt;
  QToolButton* HomeBt;
  QLabel* InfoLabel;
  QLabel* TarvolaLabel;
  QToolButton* TarvolaBt;
  QLabel* GpsUtilsLabel;
  QToolButton* GpsUtilsBt;
  QToolButton* VideoBt;
  QWidget* GoldPanel;

protected:
  void showEvent(QShowEvent* event) override;

private:
  void CreateComponents();
  void FormCreate();
  void FormShow();
  void OpenLink(const QString& address);

  const TAboutContent FContent;
  const TOpenLink FOpener;
  const TBlurBehind FBlurBehind;
  TUserPrompts& FPrompts;
  bool FGlassFrame = false;
};

// The main window's About button: shows the About window modally over owner and destroys
// it when it closes. Links go through opener.
void AboutBtClick(QWidget* owner, TAboutContent content, TOpenLink opener, TUserPrompts& prompts);

// What a link says when no browser took its address.
inline constexpr const char* NoBrowserText = "No web browser is registered to open this page.";

// The About window while AboutBtClick shows it, else null.
TAboutForm* AboutForm();

// An address as the About window shows it: without its scheme and a closing "/".
QString AddressForDisplay(const QString& address);

}  // namespace tarvola::ui
