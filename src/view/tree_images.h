#pragma once

#include <array>

#include <QIcon>

namespace tarvola::view {

// The ten 16 x 16 images of the data tree, by their index.
enum TTreeImage : int {
  tiReceiver = 0,
  tiFolder = 1,
  tiPushpin = 2,
  tiRoute = 3,
  tiHiker = 4,
  tiPoint = 5,
  tiSegment = 6,
  tiQuestion = 7,
  tiDetail = 8,
  tiDetailLast = 9,
};
inline constexpr int TreeImageCount = 10;

using TTreeImages = std::array<QIcon, TreeImageCount>;

// Rendered once into pixmaps, so that painting a large tree draws no vector images.
TTreeImages LoadTreeImages();

// The program's compiled-in pictures (button glyphs, menu images) by their resource name.
QIcon MainIcon(const char* name);

}  // namespace tarvola::view
