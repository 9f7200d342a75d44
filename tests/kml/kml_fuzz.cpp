// libFuzzer entry: any bytes convert to KML and to KMZ, in every profile, or fail cleanly, the
// same way both times;
// the package unpacks again to an entry whose CRC-32 and size its headers give, and the records
// of the same bytes (the window's way) give the very document the reading conversion wrote.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "../support/test_streams.h"
#include "gps/gpx_reader.h"
#include "kml/gpx_to_kml.h"
#include "kml/kml_builder.h"

namespace {

using namespace tarvola;

std::uint32_t Field32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

std::uint16_t Field16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void Require(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckPackage(const std::string& kmz, const std::string& kml) {
  Require(kmz.size() >= 30 && Field32(kmz, 0) == 0x04034b50);
  const std::uint32_t crc = Field32(kmz, 14);
  const std::uint32_t packed = Field32(kmz, 18);
  const std::uint32_t size = Field32(kmz, 22);
  const std::size_t data = 30u + Field16(kmz, 26) + Field16(kmz, 28);
  Require(std::string_view(kmz).substr(30, Field16(kmz, 26)) == "doc.kml");
  Require(data + packed <= kmz.size());
  const std::string unpacked = test::Inflate(kmz.data() + data, packed, -15);
  Require(unpacked.size() == size && unpacked == kml);
  Require(crc32(0, reinterpret_cast<const Bytef*>(unpacked.data()), static_cast<uInt>(unpacked.size())) == crc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kml::TExportOptions options;
  if (size > 0) {
    options.Waypoints = (data[0] & 1) == 0;
    options.JoinSegments = (data[0] & 2) != 0;
    options.TimeStamps = (data[0] & 4) != 0;
    options.Output.Profile = kml::TProfile((data[0] >> 3) % 3);
    options.Output.Altitude = kml::TAltitude((data[0] >> 5) % 3);
  }
  std::string document, package;
  const kml::TConversion asText = kml::ConvertGpxBytes(bytes, options, kml::TKmlFileType::Kml, "now", document);
  const kml::TConversion asPackage = kml::ConvertGpxBytes(bytes, options, kml::TKmlFileType::Kmz, "now", package);
  Require(asText.Loaded.Code == asPackage.Loaded.Code && asText.Loaded.Reason == asPackage.Loaded.Reason);
  Require((asText.Saved == kml::TSaveResult::Saved) == (asPackage.Saved == kml::TSaveResult::Saved));
  if (asPackage.Saved == kml::TSaveResult::Saved) CheckPackage(package, document);
  gps::TGpsData records;
  const gps::TLoadOutcome loaded = gps::ParseGpx(bytes, records);
  Require(loaded.Code == asText.Loaded.Code);
  if (asText.Saved == kml::TSaveResult::Saved) Require(kml::BuildKml(records, options, "now") == document);
  return 0;
}
