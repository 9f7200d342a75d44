#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "iso8601.h"

namespace tarvola::gps {

// Every value stays the text the file held; std::optional lists keep "absent" apart from "empty".

struct TPointFields {
  std::string Lat;
  std::string Lon;
  std::string Alt = "0";
  TDateTimeZ Time;
  bool HasEle = false;  // Alt is the file's, not the "0" that stands in for none
  std::string Name;
  std::string Cmt;
  std::string Desc;
  std::string Sym;
};

struct TWpt : TPointFields {};
struct TRtePt : TPointFields {};

// What a watch or its sensors recorded with a track point, in the file's extensions.
enum class TSensor : std::uint8_t {
  HeartRate, Cadence, Power, Temperature, WaterTemperature, Depth, Speed, Course,
};
inline constexpr std::size_t SensorCount = 8;

struct TSensorValue {
  TSensor Sensor;
  std::string Text;  // as the file wrote it, white space around it trimmed
};

struct TTrkPt {
  std::string Lat;
  std::string Lon;
  std::string Alt = "0";
  TDateTimeZ Time;
  bool HasEle = false;
  std::vector<TSensorValue> Sensors{};  // each sensor once, in the file's order
};

// The text of a point's reading from `sensor`, or nullptr.
const std::string* FindSensor(const TTrkPt& point, TSensor sensor);

struct TRte {
  std::string Name;
  std::string Color;  // "rrggbb" when the file gives the line a colour
  std::optional<std::vector<TRtePt>> Points;
};

// The holder of one trkseg: no list when the element had no child nodes.
struct TTrkSeg {
  std::optional<std::vector<TTrkPt>> Points;
};

struct TTrk {
  std::string Name;
  std::string Color;
  std::optional<std::vector<TTrkSeg>> Segments;
};

struct TGpsData {
  std::optional<std::vector<TWpt>> Waypoints;
  std::optional<std::vector<TRte>> Routes;
  std::optional<std::vector<TTrk>> Tracks;
};

// Empties the lists that exist; absent lists stay absent.
void ClearGpsData(TGpsData& data);
// Clears, then makes all three lists absent.
void FreeGpsData(TGpsData& data);

}  // namespace tarvola::gps
