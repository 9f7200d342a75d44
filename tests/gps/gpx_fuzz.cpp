// libFuzzer entry: any bytes as a GPX file must end in a clean load or a clean failure.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "gps/gpx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                            ("tarvola-fuzz-" + std::to_string(getpid()) + ".gpx");
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  tarvola::gps::TGpsData gps;
  tarvola::gps::LoadGpxFile(file, gps);
  return 0;
}
