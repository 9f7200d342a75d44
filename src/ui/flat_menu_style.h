#pragma once

#include <QProxyStyle>

namespace tarvola::ui {

// The flat look of the program's popup menus: grey items, a silver icon column, a blue
// frame around the item under the mouse.
class TFlatMenuStyle : public QProxyStyle {
public:
  TFlatMenuStyle();

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

}  // namespace tarvola::ui
