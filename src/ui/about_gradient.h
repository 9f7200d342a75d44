#pragma once

#include <QImage>

namespace tarvola::ui {

// The About window's picture: 200 x 100, 24 bits per pixel, from the corner colour at the
// top left falling off along cosine weights to the panel's colour at the right and bottom.
QImage PaintBakGradient();

}  // namespace tarvola::ui
