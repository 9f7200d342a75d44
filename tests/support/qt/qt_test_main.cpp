// GoogleTest main for tests that drive real widgets: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <cstdio>

#include <QApplication>

namespace {

// The offscreen platform warns about what it cannot do (raising windows); tests stay quiet.
QtMessageHandler PreviousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support")) ||
      message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) {
    return;
  }
  if (PreviousHandler) {
    PreviousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  PreviousHandler = qInstallMessageHandler(QuietHandler);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvola"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
