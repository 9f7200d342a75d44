#include "view/tree_branch_style.h"

namespace tarvola::view {

void TTreeBranchStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                     const QWidget* widget) const {
  if (element == PE_IndicatorBranch) {
    FLines.drawPrimitive(element, option, painter, widget);
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace tarvola::view
