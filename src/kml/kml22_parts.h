#pragma once

#include <cstdint>
#include <vector>
#include <string>
#include <string_view>

#include "kml22_records.h"
#include "kml_profile.h"
#include "kml_text.h"
#include "kml_writer.h"
#include "track_statistics.h"

namespace tarvola::kml {

// The earliest and latest stamps added, compared as instants (their zones applied); each is
// written in its own zone.
class TInstantSpan {
public:
  void Add(const gps::TDateTimeZ& value);
  bool Empty() const { return !FBegin.Exists; }
  const gps::TDateTimeZ& Begin() const { return FBegin; }
  const gps::TDateTimeZ& End() const { return FEnd; }

private:
  gps::TDateTimeZ FBegin, FEnd;
  double FBeginUtc = 0, FEndUtc = 0;
};

// `element` (TimeSpan, gx:TimeSpan) with begin and end, when the span holds any stamp.
void WriteInstantSpan(TKmlWriter& writer, const TInstantSpan& span, std::string_view element = "TimeSpan");

// What the head of a KML 2.2 document says about all that follows it, gathered as it comes.
struct TDocumentFacts {
  bool HasBox = false;
  double South = 0, North = 0, West = 0, East = 0;
  TInstantSpan Span;
  std::vector<std::uint64_t> LineColors;  // a bit per 24-bit colour; empty until one is used
  unsigned Sensors = 0;              // bit n: a gx:Track holds readings of gps::TSensor(n)
  bool Waypoints = false, RoutePoints = false;

  // A point whose lat and lon fit a line.
  void AddPosition(std::string_view lat, std::string_view lon);
  void AddLineColor(std::string_view color);

  // The middle of the data and the diagonal of its box in metres, the box taken across the
  // 180th meridian where that makes it narrower.
  struct TView {
    double Lat = 0, Lon = 0, Diagonal = 0;
  };
  TView View() const;

private:
  // Longitudes as they are and moved to 0..360, so a box across the 180th meridian stays narrow.
  double FWest360 = 0, FEast360 = 0;
};

// The declaration, the open kml and Document elements, and the head: name, Snippet, a view of
// all the data (and, in Earth, of all its time), the styles and the sensor schema.
void BeginKml22Document(TKmlWriter& writer, TKmlSink& sink, const TOutputProfile& profile,
                        std::string_view createdText, const TDocumentFacts& facts);

// A Point's extrude and altitude mode: none (clamped) when it has no elevation.
void WritePointAltitude(TKmlWriter& writer, bool hasElevation, const TOutputProfile& profile);

// The colour of the n-th track or route that gives none: neighbours differ.
std::string_view PaletteColor(std::size_t n);
std::string LineStyleUrl(std::string_view color);

// The lines of a track or route, from its held points: a gx:Track (with its sensor arrays) or a
// LineString, its altitude mode clamped when a point has no elevation.
void WriteGxTrack(TKmlWriter& writer, TKmlSink& sink, TPointRecords& points, const TOutputProfile& profile);
void WriteLineString(TKmlWriter& writer, TKmlSink& sink, TPointRecords& points, const TOutputProfile& profile);

// The statistics of a track or route as a description a balloon shows, and as ExtendedData
// fields that GIS readers show.
std::string StatisticsDescription(const TTrackStatistics& statistics, TUnits units);
void WriteStatisticsData(TKmlWriter& writer, const TTrackStatistics& statistics, TUnits units);

}  // namespace tarvola::kml
