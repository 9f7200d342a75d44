#include "app/wait_panel.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <qdrawutil.h>

#include "ui/ui_fonts.h"

namespace tarvola::app {

namespace {

const QRect DesignRect(150, 196, 100, 25);
const QSize DesignClient(400, 380);
const QColor PanelColour(215, 227, 236);
const QColor BarColour(70, 120, 190);
constexpr int CancelGap = 4;

}  // namespace

TWaitPanel::TWaitPanel(QWidget* parent)
    : QWidget(parent), FCancel(new QPushButton(QStringLiteral("Cancel"), parent)),
      FEscape(new QShortcut(QKeySequence(Qt::Key_Escape), parent)) {
  setGeometry(DesignRect);
  setFont(ui::ClassicFont());
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  FCancel->setFont(ui::PanelFont());
  FCancel->resize(DesignRect.width(), FCancel->sizeHint().height());
  FCancel->hide();
  FEscape->setEnabled(false);
  connect(FCancel, &QPushButton::clicked, this, &TWaitPanel::CancelRequested);
  connect(FEscape, &QShortcut::activated, this, &TWaitPanel::CancelRequested);
  if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TWaitPanel::HideWhenIdle);
  }
}

void TWaitPanel::HideWhenIdle() {
  if (!FHeld && isVisible()) hide();
}

void TWaitPanel::ShowNow() {
  show();
  raise();
  repaint();
  QCoreApplication::processEvents();
}

void TWaitPanel::Place(const QSize& client) {
  const QPoint centre = DesignRect.topLeft() + QPoint(DesignRect.width() / 2, DesignRect.height() / 2);
  const int x = centre.x() * client.width() / DesignClient.width() - DesignRect.width() / 2;
  const int y = centre.y() * client.height() / DesignClient.height() - DesignRect.height() / 2;
  move(x, y);
}

void TWaitPanel::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  FCancel->move(x(), geometry().bottom() + 1 + CancelGap);
}

void TWaitPanel::BeginWork(std::uint64_t total) {
  FHeld = true;
  FTotal = total;
  FDone = 0;
  FFocusBefore = QApplication::focusWidget();
  show();
  raise();
  FCancel->show();
  FCancel->raise();
  FCancel->setFocus(Qt::OtherFocusReason);
  FEscape->setEnabled(true);
  update();
}

void TWaitPanel::ShowDone(std::uint64_t done) {
  const int before = Permille();
  FDone = done;
  if (Permille() != before) update();
}

void TWaitPanel::EndWork() {
  FHeld = false;
  FTotal = 0;
  FEscape->setEnabled(false);
  FCancel->hide();
  if (FFocusBefore && FFocusBefore->isEnabled()) FFocusBefore->setFocus(Qt::OtherFocusReason);
  FFocusBefore = nullptr;
  update();
}

int TWaitPanel::Permille() const {
  if (FTotal == 0) return -1;
  return static_cast<int>(std::min<std::uint64_t>(FDone, FTotal) * 1000 / FTotal);
}

void TWaitPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect outer = rect();
  painter.fillRect(outer, PanelColour);
  qDrawShadePanel(&painter, outer, palette(), false, 1);
  qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), true, 1);
  painter.setPen(Qt::red);
  painter.drawText(outer, Qt::AlignCenter, QStringLiteral("Please wait..."));
  if (const int permille = Permille(); permille >= 0) {
    // A strip along the bottom edge, inside the sunken frame, so the text keeps its place.
    const QRect track = outer.adjusted(3, outer.height() - 5, -3, -3);
    painter.fillRect(track.left(), track.top(), track.width() * permille / 1000, track.height(), BarColour);
  }
}

}  // namespace tarvola::app
