#pragma once

#include "gps/gps_data.h"
#include "kml_builder.h"
#include "kml_writer.h"

namespace tarvola::kml {

// The icons of waypoints and route points.
inline constexpr std::string_view PushpinIcon = "http://maps.google.com/mapfiles/kml/pushpin/ylw-pushpin.png";
inline constexpr std::string_view Icon60 = "http://maps.google.com/mapfiles/kml/pal3/icon60.png";

// The parts the folders of the document are made of.
void WritePointPlacemark(TKmlWriter& writer, const gps::TPointFields& point,
                         std::string_view styleUrl, const gps::TDateTimeZ* timeStamp);
// A line placemark up to its coordinates, which the caller appends, and its end.
void BeginLinePlacemark(TKmlWriter& writer, std::string_view name, std::string_view styleUrl);
void EndLinePlacemark(TKmlWriter& writer);
// The folder of one route or track; the top folder of the routes or the tracks; the folder of
// the waypoints. Each is closed by the caller.
void OpenItemFolder(TKmlWriter& writer, std::string_view name);
void OpenListFolder(TKmlWriter& writer, std::string_view name);
void OpenWaypointsFolder(TKmlWriter& writer);

}  // namespace tarvola::kml
