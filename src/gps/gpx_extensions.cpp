#include "gps/gpx_extensions.h"

#include <array>
#include <utility>

#include "gps/xml_lookup.h"

namespace tarvola::gps {

std::optional<TSensor> SensorNamed(std::string_view localName) {
  static constexpr std::array<std::pair<std::string_view, TSensor>, 13> names{{
      {"hr", TSensor::HeartRate},          {"heartrate", TSensor::HeartRate},
      {"cad", TSensor::Cadence},           {"cadence", TSensor::Cadence},
      {"power", TSensor::Power},           {"PowerInWatts", TSensor::Power},
      {"atemp", TSensor::Temperature},     {"temp", TSensor::Temperature},
      {"wtemp", TSensor::WaterTemperature}, {"depth", TSensor::Depth},
      {"speed", TSensor::Speed},           {"course", TSensor::Course},
      {"temperature", TSensor::Temperature},
  }};
  for (const auto& [name, sensor] : names)
    if (name == localName) return sensor;
  return std::nullopt;
}

std::string ColorFromName(std::string_view name) {
  // The sixteen colours a Garmin receiver offers for a track or route.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> colors{{
      {"Black", "000000"},     {"DarkRed", "8b0000"},     {"DarkGreen", "006400"},
      {"DarkYellow", "b5b500"}, {"DarkBlue", "00008b"},   {"DarkMagenta", "8b008b"},
      {"DarkCyan", "008b8b"},  {"LightGray", "d3d3d3"},   {"DarkGray", "a9a9a9"},
      {"Red", "ff0000"},       {"Green", "00ff00"},       {"Yellow", "ffff00"},
      {"Blue", "0000ff"},      {"Magenta", "ff00ff"},     {"Cyan", "00ffff"},
      {"White", "ffffff"},
  }};
  name = TrimXmlSpace(name);
  for (const auto& [known, hex] : colors)
    if (known == name) return std::string(hex);
  return {};
}

std::string ColorFromHex(std::string_view text) {
  text = TrimXmlSpace(text);
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return {};
  std::string hex;
  for (const char c : text) {
    const bool digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    if (!digit) return {};
    hex.push_back(c >= 'A' && c <= 'F' ? char(c - 'A' + 'a') : c);
  }
  return hex;
}

std::string_view TrimXmlSpace(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace tarvola::gps
