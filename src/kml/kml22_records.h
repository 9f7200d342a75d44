#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gps/gps_data.h"
#include "held_text.h"

namespace tarvola::kml {

// The points of one line, held until the line ends: a gx:Track lists all its times before all
// its coordinates, and whether it can be a gx:Track at all is known only at its last point.
// Each point is one text line of escaped fields, in memory up to a limit and then in a file.
class TPointRecords {
public:
  enum TField : std::size_t { When, Lon, Lat, Alt, FirstSensor };
  static constexpr std::size_t FieldCount = FirstSensor + gps::SensorCount;
  using TRecord = std::array<std::string_view, FieldCount>;

  explicit TPointRecords(const std::filesystem::path& heldFolder);

  void Clear();
  // A point that fits a line; `sensors` may be null. An elevation that is not a number is held
  // as the "0" a point without one gets.
  void Add(std::string_view lat, std::string_view lon, std::string_view alt, bool hasEle,
           const gps::TDateTimeZ& time, const gps::TSensorReadings* sensors);

  std::uint64_t Count() const { return FCount; }
  bool AllTimed() const { return FAllTimed; }
  bool AllHaveElevation() const { return FAllHaveEle; }
  // Bit n: some point has a reading of gps::TSensor(n).
  unsigned Sensors() const { return FSensors; }

  // Hands each point's fields to `each`, in the order added.
  void ForEach(const std::function<void(const TRecord&)>& each);

private:
  THeldText FHeld;
  std::string FText;
  std::uint64_t FCount = 0;
  bool FAllTimed = true;
  bool FAllHaveEle = true;
  unsigned FSensors = 0;
};

// Whether `text` is a finite number, as xsd:double writes them (XML white space around it allowed).
bool IsNumber(std::string_view text);

}  // namespace tarvola::kml
