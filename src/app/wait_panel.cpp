#include "app/wait_panel.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPainter>
#include <qdrawutil.h>

#include "ui/ui_fonts.h"

namespace tarvola::app {

namespace {

const QRect DesignRect(150, 196, 100, 25);
const QSize DesignClient(400, 380);
const QColor PanelColour(215, 227, 236);

}  // namespace

TWaitPanel::TWaitPanel(QWidget* parent) : QWidget(parent) {
  setGeometry(DesignRect);
  setFont(ui::ClassicFont());
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TWaitPanel::HideWhenIdle);
  }
}

void TWaitPanel::HideWhenIdle() {
  if (isVisible()) hide();
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

void TWaitPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect outer = rect();
  painter.fillRect(outer, PanelColour);
  qDrawShadePanel(&painter, outer, palette(), false, 1);
  qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), true, 1);
  painter.setPen(Qt::red);
  painter.drawText(outer, Qt::AlignCenter, QStringLiteral("Please wait..."));
}

}  // namespace tarvola::app
