#include "ui/about_gradient.h"

#include <array>
#include <cmath>
#include <numbers>

namespace tarvola::ui {

namespace {

constexpr int GradientWidth = 200;
constexpr int GradientHeight = 100;
constexpr std::array<int, 3> BaseColor{172, 167, 162};
constexpr std::array<int, 3> CornerColor{241, 240, 239};

// Rounds to the nearest integer, ties to even (the default floating-point rounding mode).
uchar Channel(int channel, double weight) {
  const double value = BaseColor[channel] + weight * (CornerColor[channel] - BaseColor[channel]);
  return static_cast<uchar>(std::nearbyint(value));
}

}  // namespace

QImage PaintBakGradient() {
  constexpr double HalfPi = std::numbers::pi / 2;
  QImage image(GradientWidth, GradientHeight, QImage::Format_RGB888);
  for (int y = 0; y < GradientHeight; ++y) {
    uchar* line = image.scanLine(y);
    const double rowWeight = std::cos(y * HalfPi / GradientHeight);
    for (int x = 0; x < GradientWidth; ++x) {
      const double weight = std::cos(x * HalfPi / GradientWidth) * rowWeight;
      for (int c = 0; c < 3; ++c) line[3 * x + c] = Channel(c, weight);
    }
  }
  return image;
}

}  // namespace tarvola::ui
