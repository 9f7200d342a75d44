#include "ui/about_gradient.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tarvola::ui {
namespace {

struct TPixelRow {
  const char* Name;
  int X, Y;
  int R, G, B;
};

void PrintTo(const TPixelRow& row, std::ostream* os) { *os << row.Name; }

class GradientCornerTest : public ::testing::TestWithParam<TPixelRow> {};

TEST_P(GradientCornerTest, HasTheDesignedColour) {
  const TPixelRow& row = GetParam();
  const QColor pixel = PaintBakGradient().pixelColor(row.X, row.Y);
  EXPECT_EQ(pixel.red(), row.R);
  EXPECT_EQ(pixel.green(), row.G);
  EXPECT_EQ(pixel.blue(), row.B);
}

INSTANTIATE_TEST_SUITE_P(Corners, GradientCornerTest,
                         ::testing::Values(TPixelRow{"TopLeft", 0, 0, 241, 240, 239},
                                           TPixelRow{"TopRight", 199, 0, 173, 168, 163},
                                           TPixelRow{"BottomLeft", 0, 99, 173, 168, 163},
                                           TPixelRow{"BottomRight", 199, 99, 172, 167, 162}),
                         test::TRowName());

TEST(GradientTest, IsA24BitPictureOfTheImageSize) {
  const QImage image = PaintBakGradient();
  EXPECT_EQ(image.size(), QSize(200, 100));
  EXPECT_EQ(image.format(), QImage::Format_RGB888);
}

TEST(GradientTest, FallsOffTowardsTheRightAndTheBottom) {
  const QImage image = PaintBakGradient();
  for (int y = 0; y < 100; ++y)
    for (int x = 1; x < 200; ++x) ASSERT_LE(image.pixelColor(x, y).red(), image.pixelColor(x - 1, y).red());
  for (int x = 0; x < 200; ++x)
    for (int y = 1; y < 100; ++y) ASSERT_LE(image.pixelColor(x, y).green(), image.pixelColor(x, y - 1).green());
}

}  // namespace
}  // namespace tarvola::ui
