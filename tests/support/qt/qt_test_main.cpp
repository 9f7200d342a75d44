// GoogleTest main for every Qt test: one QApplication for the whole program, and a settings
// store of its own so that no test reads or writes the user's real settings.
#include <gtest/gtest.h>

#include <cstdio>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

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
  QTemporaryDir settingsDir;
  if (!settingsDir.isValid()) {
    std::fprintf(stderr, "no temporary folder for the test settings\n");
    return 1;
  }
  qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvola"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
