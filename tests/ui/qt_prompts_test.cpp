#include "ui/qt_prompts.h"

#include <gtest/gtest.h>

#include "qt_printers.h"

#include <functional>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>

#include "test_support.h"

namespace tarvola::ui {
namespace {

TEST(QtNameFilters, KeepTheDescriptionsAndMatchEveryFileForStarDotStar) {
  EXPECT_EQ(QtNameFilters(QStringLiteral("GPS exchange format (*.gpx)|*.gpx|All files (*.*)|*.*")),
            QStringList({QStringLiteral("GPS exchange format (*.gpx) (*.gpx)"), QStringLiteral("All files (*.*) (*)")}));
  EXPECT_EQ(QtNameFilters(QStringLiteral("Pictures|*.png;*.jpg")), QStringList({QStringLiteral("Pictures (*.png *.jpg)")}));
  EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
}

void WhenDialogShows(std::function<void(QFileDialog&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    }
  });
  timer->start();
}

const QString KmlFilter = QStringLiteral(
    "KMZ files (Keyhole Markup Language)(*.kmz)|*.kmz|KML files (Keyhole Markup Language)(*.kml)|*.kml");

TEST(QtPrompts, SaveDialogStartsWhereAskedAndAddsTheShownTypesExtension) {
  test::TTempFolder folder;
  const QString dir = QString::fromStdString(folder.Path().string());
  QString shownDir, shownFilter;
  WhenDialogShows([&](QFileDialog& dialog) {
    shownDir = dialog.directory().absolutePath();
    shownFilter = dialog.selectedNameFilter();
    dialog.selectFile(QStringLiteral("trip"));
    QMetaObject::invokeMethod(&dialog, "accept");
  });
  TQtPrompts prompts;
  const auto answer = prompts.AskSaveFile(nullptr, {dir, QStringLiteral("trip"), KmlFilter, QStringLiteral("kmz"), 2});
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(QDir(shownDir), QDir(dir));
  EXPECT_TRUE(shownFilter.startsWith(QStringLiteral("KML files")));
  EXPECT_EQ(answer->FilterIndex, 2);
  EXPECT_EQ(QDir::fromNativeSeparators(answer->FileName), QDir::fromNativeSeparators(dir) + QStringLiteral("/trip.kml"));
}

TEST(QtPrompts, CancelledOpenDialogAnswersNothing) {
  WhenDialogShows([](QFileDialog& dialog) { dialog.reject(); });
  TQtPrompts prompts;
  EXPECT_FALSE(prompts.AskOpenFile(nullptr, {QString(), QString(), QStringLiteral("All files (*.*)|*.*"),
                                             QStringLiteral("gpx"), 1}));
}

}  // namespace
}  // namespace tarvola::ui
