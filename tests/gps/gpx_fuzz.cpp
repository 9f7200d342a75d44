// libFuzzer entry: any bytes as a GPX file must end in a clean load or a clean failure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gps/gpx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tarvola::gps::TGpsData gps;
  tarvola::gps::ParseGpx(std::string_view(reinterpret_cast<const char*>(data), size), gps);
  return 0;
}
