#include "app/command_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace tarvola::app {

TCommandOptions ParseCommandLine(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Shows the waypoints, routes and tracks of a GPX file and saves them as KML or KMZ for "
                     "Google Earth."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption convert(QStringLiteral("convert-to-kmz"),
                                   QStringLiteral("Save each FILE as a KMZ package beside it, without a window; "
                                                  "only failures are shown, in a message."));
  parser.addOption(convert);
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The GPX file to open."),
                               QStringLiteral("[FILE.gpx]"));
  parser.process(app);
  return {parser.positionalArguments(), parser.isSet(convert)};
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--") return false;
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
      if (arg == option) return true;
    }
  }
  return false;
}

}  // namespace tarvola::app
