#include "ui/artwork.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>

#ifndef TARVOLA_ARTWORK_PNG
#include <QSvgRenderer>
#endif

namespace tarvola::ui {

#ifdef TARVOLA_ARTWORK_PNG

QString ArtworkFile(const QString& stem) { return stem + QStringLiteral(".png"); }

QPixmap ArtworkPixmap(const QString& stem, QSize size) {
  return QIcon(ArtworkFile(stem)).pixmap(size, qApp->devicePixelRatio());
}

#else

QString ArtworkFile(const QString& stem) { return stem + QStringLiteral(".svg"); }

QPixmap ArtworkPixmap(const QString& stem, QSize size) {
  const qreal ratio = qApp->devicePixelRatio();
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(ArtworkFile(stem));
  QPainter painter(&pixmap);
  renderer.render(&painter, QRectF(QPointF(0, 0), size));
  return pixmap;
}

#endif

}  // namespace tarvola::ui
