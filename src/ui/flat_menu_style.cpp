#include "ui/flat_menu_style.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace tarvola::ui {

namespace {

constexpr int IconColumn = 24;
constexpr int TextGap = 8;
constexpr int ItemHeight = 22;
const QColor ItemBack(199, 199, 199);
const QColor IconBack(192, 192, 192);  // silver
const QColor HotBack(170, 199, 251);
const QColor HotBorder(128, 128, 255);
const QColor DisabledText(209, 211, 184);

// A tick, or a dot for one of a group, in the icon column of a checked item.
void DrawCheck(const QStyleOptionMenuItem& item, QPainter* painter, const QColor& ink) {
  if (item.checkType == QStyleOptionMenuItem::NotCheckable || !item.checked || !item.icon.isNull()) return;
  const QPoint c(item.rect.left() + IconColumn / 2, item.rect.center().y());
  painter->setRenderHint(QPainter::Antialiasing);
  if (item.checkType == QStyleOptionMenuItem::Exclusive) {
    painter->setPen(Qt::NoPen);
    painter->setBrush(ink);
    painter->drawEllipse(QPointF(c), 3.0, 3.0);
    return;
  }
  painter->setPen(QPen(ink, 1.6));
  const QPointF tick[] = {QPointF(c.x() - 4, c.y()), QPointF(c.x() - 1, c.y() + 3), QPointF(c.x() + 4, c.y() - 3)};
  painter->drawPolyline(tick, 3);
}

void DrawSubMenuArrow(const QStyleOptionMenuItem& item, QPainter* painter, const QColor& ink) {
  if (item.menuItemType != QStyleOptionMenuItem::SubMenu) return;
  const QPoint c(item.rect.right() - TextGap, item.rect.center().y());
  const QPointF arrow[] = {QPointF(c.x() - 2, c.y() - 4), QPointF(c.x() + 2, c.y()), QPointF(c.x() - 2, c.y() + 4)};
  painter->setPen(Qt::NoPen);
  painter->setBrush(ink);
  painter->drawPolygon(arrow, 3);
}

void DrawItem(const QStyleOptionMenuItem& item, QPainter* painter) {
  const QRect r = item.rect;
  painter->fillRect(r, ItemBack);
  painter->fillRect(QRect(r.left(), r.top(), IconColumn, r.height()), IconBack);
  if (item.menuItemType == QStyleOptionMenuItem::Separator) {
    painter->setPen(IconBack.darker(130));
    const int y = r.center().y();
    painter->drawLine(r.left() + IconColumn + TextGap / 2, y, r.right() - 2, y);
    return;
  }
  const bool enabled = item.state & QStyle::State_Enabled;
  if (enabled && (item.state & QStyle::State_Selected)) {
    painter->fillRect(r.adjusted(0, 0, -1, -1), HotBack);
    painter->setPen(HotBorder);
    painter->drawRect(r.adjusted(0, 0, -1, -1));
  }
  if (!item.icon.isNull()) {
    const QPixmap pixmap = item.icon.pixmap(16, 16, enabled ? QIcon::Normal : QIcon::Disabled);
    painter->drawPixmap(r.left() + (IconColumn - 16) / 2, r.top() + (r.height() - 16) / 2, pixmap);
  }
  const QColor ink = enabled ? item.palette.color(QPalette::WindowText) : DisabledText;
  painter->save();
  DrawCheck(item, painter, ink);
  DrawSubMenuArrow(item, painter, ink);
  painter->restore();
  painter->setPen(ink);
  painter->setFont(item.font);
  QString text = item.text;
  text = text.left(text.indexOf(QLatin1Char('\t')) < 0 ? text.size() : text.indexOf(QLatin1Char('\t')));
  painter->drawText(r.adjusted(IconColumn + TextGap, 0, -TextGap, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic, text);
}

}  // namespace

TFlatMenuStyle::TFlatMenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

void TFlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  if (element == CE_MenuItem) {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
      painter->save();
      DrawItem(*item, painter);
      painter->restore();
      return;
    }
  }
  if (element == CE_MenuEmptyArea) {
    painter->fillRect(option->rect, ItemBack);
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void TFlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
  if (element == PE_PanelMenu || element == PE_FrameMenu) {
    painter->save();
    if (element == PE_PanelMenu) painter->fillRect(option->rect, ItemBack);
    painter->setPen(IconBack.darker(140));
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize TFlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const {
  if (type == CT_MenuItem) {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
      if (item->menuItemType == QStyleOptionMenuItem::Separator) return {size.width(), 7};
      const int textWidth = item->fontMetrics.horizontalAdvance(item->text);
      const int arrow = item->menuItemType == QStyleOptionMenuItem::SubMenu ? 2 * TextGap : 0;
      return {IconColumn + TextGap + textWidth + 2 * TextGap + arrow, ItemHeight};
    }
  }
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TFlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth:
      return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

}  // namespace tarvola::ui
