#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gps/gps_data.h"
#include "kml_writer.h"

namespace tarvola::kml {

// Desc, then " - " and Cmt when Cmt adds something; the text once when both are equal.
std::string DescriptionOf(std::string_view desc, std::string_view cmt);

// The ISO 8601 text of a stamp, in its own zone.
std::string TimeText(const gps::TDateTimeZ& value);

// Whether a lat or lon text is a decimal number (XML white space around it allowed, no exponent)
// from -limit to limit.
bool IsDegrees(std::string_view text, int limit);

// Whether a point may go into a line: anything but numbers in its lat or lon would add tuples to
// the coordinate list or merge them ("46.1 99,99", an empty lat).
template <typename TPoint>
bool FitsALine(const TPoint& point) {
  return IsDegrees(point.Lat, 90) && IsDegrees(point.Lon, 180);
}

// Lon,Lat,Alt exactly as the file held them.
template <typename TPoint>
void AppendCoordTriple(TKmlWriter& writer, const TPoint& point) {
  writer.AppendText(point.Lon);
  writer.AppendRaw(',');
  writer.AppendText(point.Lat);
  writer.AppendRaw(',');
  writer.AppendText(point.Alt);
}

// The earliest and latest of the stamps added, compared as stored (the zone takes no part);
// on equal values the stamp added first wins. Kept by value, so points may come and go.
class TTimeSpan {
public:
  void Add(const gps::TDateTimeZ& value);
  bool Empty() const { return !FBegin; }
  const gps::TDateTimeZ& Begin() const { return *FBegin; }
  const gps::TDateTimeZ& End() const { return *FEnd; }

private:
  std::optional<gps::TDateTimeZ> FBegin, FEnd;
};

// <TimeSpan> with begin and end, when the span holds any stamp.
void WriteTimeSpan(TKmlWriter& writer, const TTimeSpan& span);

}  // namespace tarvola::kml
