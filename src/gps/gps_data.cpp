#include "gps_data.h"

namespace tarvola::gps {

void TSensorReadings::Add(TSensor sensor, std::string_view text) {
  if (Find(sensor)) return;
  FPacked.push_back(char(sensor));
  FPacked.append(text);
  FPacked.push_back('\0');
}

std::optional<std::string_view> TSensorReadings::Find(TSensor sensor) const {
  std::optional<std::string_view> found;
  ForEach([&](TSensor each, std::string_view text) {
    if (each == sensor && !found) found = text;
  });
  return found;
}

void ClearGpsData(TGpsData& data) {
  if (data.Waypoints) data.Waypoints->clear();
  if (data.Routes) data.Routes->clear();
  if (data.Tracks) data.Tracks->clear();
}

void FreeGpsData(TGpsData& data) {
  ClearGpsData(data);
  data.Waypoints.reset();
  data.Routes.reset();
  data.Tracks.reset();
}

}  // namespace tarvola::gps
