#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// A point's readings, each sensor at most once: packed into one string (a byte naming the
// sensor, the text, a 0 byte), so that the usual two or three fit inside the string itself
// and a million points cost no allocations for them.
class TSensorReadings {
public:
  // Keeps the first reading of a sensor.
  void Add(TSensor sensor, std::string_view text);
  std::optional<std::string_view> Find(TSensor sensor) const;
  bool Empty() const { return FPacked.empty(); }
  // Calls each(sensor, text) in the order added.
  template <typename TEach>
  void ForEach(TEach each) const {
    for (std::size_t at = 0; at < FPacked.size();) {
      const std::size_t end = FPacked.find('\0', at + 1);
      each(TSensor(FPacked[at]), std::string_view(FPacked).substr(at + 1, end - at - 1));
      at = end + 1;
    }
  }

private:
  std::string FPacked;
};

struct TTrkPt {
  std::string Lat;
  std::string Lon;
  std::string Alt = "0";
  TDateTimeZ Time;
  bool HasEle = false;
  TSensorReadings Sensors{};  // as the file wrote them, white space around them trimmed
};

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
