#include "usage_text.h"

namespace tarvola::cli {

std::string_view HelpText() {
  return "Usage: tarvola-convert [OPTIONS] INPUT.gpx...\n"
         "       tarvola-convert --info INPUT.gpx...\n"
         "\n"
         "Converts GPX files into KMZ packages or KML documents for Google Earth.\n"
         "Each input is written beside itself as NAME.kmz (NAME.kml with --format kml).\n"
         "\n"
         "Output:\n"
         "  -o, --output FILE      write the output to FILE (one input only); the type\n"
         "                         follows its extension .kml or .kmz\n"
         "  -d, --output-dir DIR   write every output into DIR\n"
         "      --format kml|kmz   the output type where FILE has neither extension\n"
         "                         (default kmz)\n"
         "\n"
         "Export:\n"
         "      --no-waypoints     leave out the waypoints\n"
         "      --no-routes        leave out the routes\n"
         "      --no-tracks        leave out the tracks\n"
         "      --join-segments    draw each track as one line, not one line per segment\n"
         "      --time-stamps      write the time stamps of waypoints and the time spans\n"
         "                         of routes and tracks\n"
         "\n"
         "Running:\n"
         "  -j, --jobs N           convert up to N inputs at once (default: one per core);\n"
         "                         messages always come in input order\n"
         "  -q, --quiet            report failures only\n"
         "      --info             report what each input holds instead of converting:\n"
         "                         the counts of waypoints, routes, route points,\n"
         "                         tracks, segments and track points, and the earliest\n"
         "                         and latest time\n"
         "  -h, --help             show this help\n"
         "      --version          show the version\n"
         "\n"
         "Messages go to standard error, each after the name of its input.\n"
         "Exit status: 0 when every input was converted (with --info: loaded),\n"
         "1 when any was not (the others are still written), 2 on a usage error.\n";
}

std::string_view VersionText() { return "tarvola-convert (Tarvola) 5.3, build 053000\n"; }

}  // namespace tarvola::cli
