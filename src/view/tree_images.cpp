#include "view/tree_images.h"

#include <QPixmap>
#include <QString>

#include "ui/artwork.h"

// The resource file is linked from a static library, so its registration must be pulled in.
static void InitMainResources() { Q_INIT_RESOURCE(main); }

namespace tarvola::view {

namespace {

constexpr const char* TreeImageFiles[TreeImageCount] = {
    "tree/0_gps_receiver", "tree/1_folder",  "tree/2_pushpin", "tree/3_route",
    "tree/4_hiker",        "tree/5_point",   "tree/6_segment", "tree/7_question",
    "tree/8_detail",       "tree/9_detail_last",
};

}  // namespace

QIcon MainIcon(const char* name) {
  InitMainResources();
  const QString path = ui::ArtworkFile(QStringLiteral(":/main/%1").arg(QLatin1String(name)));
  QIcon icon;
  icon.addPixmap(QIcon(path).pixmap(16, 16));
  return icon;
}

TTreeImages LoadTreeImages() {
  TTreeImages images;
  for (int i = 0; i < TreeImageCount; ++i) images[i] = MainIcon(TreeImageFiles[i]);
  return images;
}

}  // namespace tarvola::view
