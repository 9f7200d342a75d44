// Writes a deterministic GPX 1.1 file for the benchmarks:
//   tarvola_gpx_generator OUTPUT TRACK_POINTS
// Garmin-device style: 7-decimal coordinates, elevation and time on every track point, a
// TrackPointExtension block on every second one, plus a few hundred waypoints and routes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class TRandom {
public:
  std::uint64_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
    return FState;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
  std::uint64_t FState = 0x2545F4914F6CDD1DULL;
};

// Coordinates in units of 1e-7 degree, printed with seven decimals.
void AppendDegrees(std::string& out, std::int64_t units) {
  char buffer[32];
  const char* sign = units < 0 ? "-" : "";
  std::int64_t a = units < 0 ? -units : units;
  std::snprintf(buffer, sizeof buffer, "%s%lld.%07lld", sign,
                static_cast<long long>(a / 10'000'000), static_cast<long long>(a % 10'000'000));
  out += buffer;
}

void AppendTime(std::string& out, long secondsSinceStart) {
  // 2024-06-01T06:00:00Z plus the offset; days kept within June to August for simplicity.
  long day = secondsSinceStart / 86400, rest = secondsSinceStart % 86400;
  int month = 6 + static_cast<int>(day / 30) % 3, dom = 1 + static_cast<int>(day % 30);
  long h = 6 + rest / 3600, m = rest / 60 % 60, s = rest % 60;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "2024-%02d-%02dT%02ld:%02ld:%02ldZ", month, dom, h % 24, m,
                s);
  out += buffer;
}

struct TWalker {
  TRandom Random;
  std::int64_t Lat = 472'345'678;  // an invented valley
  std::int64_t Lon = 112'345'678;
  int Ele = 12'000;  // decimetres
  long Seconds = 0;

  void Step() {
    Lat += Random.Below(801) - 400;
    Lon += Random.Below(801) - 400;
    Ele += Random.Below(21) - 10;
    if (Ele < 0) Ele = 0;
    Seconds += 1 + Random.Below(3);
  }
  void AppendLatLon(std::string& out) {
    out += " lat=\"";
    AppendDegrees(out, Lat);
    out += "\" lon=\"";
    AppendDegrees(out, Lon);
    out += "\"";
  }
  void AppendEle(std::string& out, const char* indent) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s<ele>%d.%d</ele>\n", indent, Ele / 10, Ele % 10);
    out += buffer;
  }
};

void AppendTrackPoint(std::string& out, TWalker& w, bool withExtensions) {
  out += "      <trkpt";
  w.AppendLatLon(out);
  out += ">\n";
  w.AppendEle(out, "        ");
  out += "        <time>";
  AppendTime(out, w.Seconds);
  out += "</time>\n";
  if (withExtensions) {
    char buffer[320];
    std::snprintf(buffer, sizeof buffer,
                  "        <extensions>\n"
                  "          <gpxtpx:TrackPointExtension>\n"
                  "            <gpxtpx:atemp>%d.0</gpxtpx:atemp>\n"
                  "            <gpxtpx:hr>%d</gpxtpx:hr>\n"
                  "            <gpxtpx:cad>%d</gpxtpx:cad>\n"
                  "          </gpxtpx:TrackPointExtension>\n"
                  "        </extensions>\n",
                  12 + w.Random.Below(15), 95 + w.Random.Below(80), 60 + w.Random.Below(40));
    out += buffer;
  }
  out += "      </trkpt>\n";
}

void AppendWaypoint(std::string& out, TWalker& w, int index, const char* element,
                    const char* indent) {
  char buffer[512];
  out += indent;
  out += "<";
  out += element;
  w.AppendLatLon(out);
  out += ">\n";
  std::string inner = std::string(indent) + "  ";
  w.AppendEle(out, inner.c_str());
  out += inner + "<time>";
  AppendTime(out, w.Seconds);
  out += "</time>\n";
  std::snprintf(buffer, sizeof buffer,
                "%s<name>Point %04d</name>\n%s<cmt>Marker %d &amp; cairn</cmt>\n"
                "%s<desc>Invented place number %d</desc>\n%s<sym>Flag, Blue</sym>\n",
                inner.c_str(), index, inner.c_str(), index, inner.c_str(), index, inner.c_str());
  out += buffer;
  out += indent;
  out += "</";
  out += element;
  out += ">\n";
}

bool Flush(std::FILE* file, std::string& out) {
  bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  out.clear();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s OUTPUT TRACK_POINTS\n", argv[0]);
    return 2;
  }
  long points = std::strtol(argv[2], nullptr, 10);
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file || points < 0) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  const int waypoints = 300, routes = 200, routePoints = 12, tracks = 10, segmentsPerTrack = 4;
  TWalker walker;
  std::string out;
  out.reserve(1 << 21);
  out +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"Tarvola benchmark generator\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\" "
      "xmlns:gpxtpx=\"http://www.garmin.com/xmlschemas/TrackPointExtension/v1\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
      "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
      "  <metadata>\n    <name>Benchmark tour</name>\n    <time>2024-06-01T06:00:00Z</time>\n"
      "  </metadata>\n";
  for (int i = 0; i < waypoints; ++i) {
    walker.Step();
    AppendWaypoint(out, walker, i + 1, "wpt", "  ");
  }
  for (int r = 0; r < routes; ++r) {
    out += "  <rte>\n    <name>Route " + std::to_string(r + 1) + "</name>\n";
    for (int p = 0; p < routePoints; ++p) {
      walker.Step();
      AppendWaypoint(out, walker, r * routePoints + p + 1, "rtept", "    ");
    }
    out += "  </rte>\n";
  }
  bool ok = Flush(file, out);
  long written = 0;
  const long segments = static_cast<long>(tracks) * segmentsPerTrack;
  for (int t = 0; t < tracks && ok; ++t) {
    out += "  <trk>\n    <name>Track " + std::to_string(t + 1) + "</name>\n";
    for (int s = 0; s < segmentsPerTrack && ok; ++s) {
      long segment = static_cast<long>(t) * segmentsPerTrack + s;
      long end = points * (segment + 1) / segments;
      out += "    <trkseg>\n";
      for (; written < end; ++written) {
        walker.Step();
        AppendTrackPoint(out, walker, written % 2 == 0);
        if (out.size() > (1 << 20) && !(ok = Flush(file, out))) break;
      }
      out += "    </trkseg>\n";
    }
    out += "  </trk>\n";
  }
  out += "</gpx>\n";
  ok = ok && Flush(file, out);
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::fprintf(stderr, "cannot write %s\n", argv[1]);
  return ok ? 0 : 1;
}
