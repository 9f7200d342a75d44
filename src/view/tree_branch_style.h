#pragma once

#include <QCommonStyle>
#include <QProxyStyle>

namespace tarvola::view {

// The application's style, except that the tree's branches get the classic dotted
// connecting lines and +/- boxes, which modern styles no longer draw.
class TTreeBranchStyle : public QProxyStyle {
public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
  QCommonStyle FLines;
};

}  // namespace tarvola::view
