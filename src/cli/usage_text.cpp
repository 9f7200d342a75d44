#include "usage_text.h"

#include "failure_line.h"
#include "product_identity.h"

namespace tarvola::cli {

std::string_view HelpText() {
  return "Usage: tarvola-convert [OPTIONS] INPUT.gpx...\n"
         "  or:  tarvola-convert --info INPUT.gpx...\n"
         "\n"
         "Converts GPX files into KMZ packages or KML documents for Google Earth.\n"
         "Each input is written beside itself as NAME.kmz (NAME.kml with --format kml).\n"
         "An input named - is standard input, converted to standard output unless -o\n"
         "names a file.\n"
         "\n"
         "Output:\n"
         "  -o, --output FILE      write the output to FILE (one input only); the type\n"
         "                         follows its extension .kml or .kmz; -o - writes\n"
         "                         standard output (KMZ unless --format kml, and never\n"
         "                         KMZ to a terminal)\n"
         "  -d, --output-dir DIR   write every output into DIR\n"
         "      --format kml|kmz   the output type where FILE has neither extension\n"
         "                         (default kmz)\n"
         "  -n, --no-clobber       keep an output that exists already; that input counts\n"
         "                         as not converted\n"
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
         "  -V, --version          show the version\n"
         "\n"
         "Short options may be bundled (-qj2), long ones shortened while unambiguous,\n"
         "and -- ends the options.\n"
         "\n"
         "Messages go to standard error, each after the name of its input; standard\n"
         "output carries nothing but a document written there.\n"
         "\n"
         "Exit status:\n"
         "  0  every input was converted (with --info: loaded)\n"
         "  1  any input was not (the others are still written)\n"
         "  2  a usage error, KMZ to a terminal included\n";
}

std::string VersionText() {
  std::string text(ProgramName);
  text.append(" (").append(product::Name).append(") ").append(product::Version).append("\n");
  text.append("build ").append(product::Build).append("\n");
  return text;
}

}  // namespace tarvola::cli
