#pragma once

#include <QStringList>

class QCoreApplication;

namespace tarvola::app {

// What the window program was asked to do.
struct TCommandOptions {
  QStringList Files;          // the first is opened in the window
  bool ConvertToKmz = false;  // convert the files without a window (the file manager's action)
};

// Reads the command line as any Qt program does: --help and --version print and end the program
// (exit status 0), an unknown option is told with status 1. Qt's own options are gone already.
TCommandOptions ParseCommandLine(const QCoreApplication& app);

// Whether the command line asks only for the help or the version: printed without a display.
bool AsksForHelpOrVersion(int argc, const char* const* argv);

}  // namespace tarvola::app
