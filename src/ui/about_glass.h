#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace tarvola::ui {

// Asks the desktop window manager to blur the window behind region. The answer is the
// manager's result code, or -1 when there is no manager to ask (every system but Windows).
int EnableBlurBehind(QWidget* window, const QRect& region);

// Extends the glass frame into the client area by margins, or takes it back.
void SetGlassFrame(QWidget* window, bool enabled, const QMargins& margins);

}  // namespace tarvola::ui
