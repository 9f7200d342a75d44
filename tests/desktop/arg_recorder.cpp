// Stands in for a browser or Google Earth: writes its arguments, each ended by a NUL byte,
// into the file named by TARVOLA_RECORD_FILE. Written beside it and renamed, so a reader
// never sees half a record. With TARVOLA_PROBE_FD set, a last entry tells whether that file
// descriptor was left open for it.
#include <fcntl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  const char* target = std::getenv("TARVOLA_RECORD_FILE");
  if (target == nullptr || *target == '\0') return 2;
  // Looked at before this program opens anything itself.
  std::string probe;
  if (const char* fd = std::getenv("TARVOLA_PROBE_FD")) probe = fcntl(std::atoi(fd), F_GETFD) == -1 ? "closed" : "open";
  std::string partial = std::string(target) + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    for (int i = 1; i < argc; ++i) out << argv[i] << '\0';
    if (!probe.empty()) out << probe << '\0';
    if (!out) return 1;
  }
  return std::rename(partial.c_str(), target) == 0 ? 0 : 1;
}
