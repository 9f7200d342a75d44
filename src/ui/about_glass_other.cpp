// Elsewhere the window has no glass: the About window paints its own gradient.
#include "ui/about_glass.h"

namespace tarvola::ui {

int EnableBlurBehind(QWidget*, const QRect&) {
  return -1;
}

void SetGlassFrame(QWidget*, bool, const QMargins&) {}

}  // namespace tarvola::ui
