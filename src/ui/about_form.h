#pragma once

#include <functional>

#include <QDialog>
#include <QLabel>

#include "service/link_opener.h"
#include "service/service_data.h"
#include "ui/user_prompts.h"

class QShowEvent;
class QToolButton;
class QWidget;

namespace tarvola::ui {

// The blur call of the desktop window manager: -1 when there is none (about_glass.h).
using TBlurBehind = std::function<int(QWidget*, const QRect&)>;

// A label that reports clicks.
class TClickLabel : public QLabel {
public:
  using QLabel::QLabel;
  std::function<void()> OnClick;

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The About window: name, version, the maker's links. It reads the addresses from service
// at each click, so a service document that arrived meanwhile is honoured. A link that no
// browser opens is reported through prompts.
class TAboutForm : public QDialog {
public:
  TAboutForm(QWidget* owner, const service::TService& service, service::TLinkOpener opener,
             TBlurBehind blurBehind, TUserPrompts& prompts);

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

  const service::TService& FService;
  const service::TLinkOpener FOpener;
  const TBlurBehind FBlurBehind;
  TUserPrompts& FPrompts;
  bool FGlassFrame = false;
};

// The main window's About button: shows the About window modally over owner and destroys
// it when it closes. Links go through opener; the addresses come from ServiceData.
void AboutBtClick(QWidget* owner, service::TLinkOpener opener, TUserPrompts& prompts);

// What a link says when no browser took its address.
inline constexpr const char* NoBrowserText = "No web browser is registered to open this page.";

// The About window while AboutBtClick shows it, else null.
TAboutForm* AboutForm();

// An address as the About window shows it: without its scheme and a closing "/".
QString AddressForDisplay(const QString& address);

}  // namespace tarvola::ui
