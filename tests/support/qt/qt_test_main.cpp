// GoogleTest main for every Qt test: one QApplication for the whole program, and a settings
// store of its own so that no test reads or writes the user's real settings.
#include <gtest/gtest.h>

#include <cstdio>

#include <QApplication>
#include <QSettings>

#include "test_support.h"

#ifdef TARVOLA_IMPORT_OFFSCREEN
#include <QtPlugin>
Q_IMPORT_PLUGIN(QOffscreenIntegrationPlugin)
#endif

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
  // Not QTemporaryDir: under Wine, Qt for Windows faults in its random generator there at times.
  const tarvola::test::TTempFolder settings;
  const QString settingsDir = QString::fromStdString(settings.Path().string());
  qputenv("XDG_CONFIG_HOME", settingsDir.toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvola"));
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
#ifdef _WIN32
  // There the settings are in the registry, which outlives the program: start from none.
  QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarvola"), QStringLiteral("Tarvola")).clear();
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
