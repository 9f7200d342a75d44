#include "gps_data.h"

namespace tarvola::gps {

const std::string* FindSensor(const TTrkPt& point, TSensor sensor) {
  for (const TSensorValue& value : point.Sensors)
    if (value.Sensor == sensor) return &value.Text;
  return nullptr;
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
