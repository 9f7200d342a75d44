// GoogleTest main for tests that drive real widgets: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvola"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
