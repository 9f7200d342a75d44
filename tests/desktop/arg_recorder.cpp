// Stands in for a browser or Google Earth: writes the arguments after the first, each ended by
// a NUL byte, into the file the first argument names. Written beside it and renamed, so a
// reader never sees half a record.
#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string target = argv[1];
  std::string partial = target + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    for (int i = 2; i < argc; ++i) out << argv[i] << '\0';
    if (!out) return 1;
  }
  return std::rename(partial.c_str(), target.c_str()) == 0 ? 0 : 1;
}
