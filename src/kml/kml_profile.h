#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvola::kml {

// Which document is written: the KML 2.1 document of old, byte for byte (Classic); KML 2.2 with
// Google's extensions, for the time slider and sensor profiles (Earth); KML 2.2 without them,
// for Google Earth on the web and GIS readers (Web).
enum class TProfile { Classic, Earth, Web };
enum class TAltitude { Clamp, Relative, Absolute };
enum class TUnits { Metric, Imperial };

// What the KML 2.2 profiles add to the five export options; Classic ignores it.
struct TOutputProfile {
  TProfile Profile = TProfile::Classic;
  TAltitude Altitude = TAltitude::Clamp;
  bool Extrude = false;          // walls to the ground under lines that are not clamped
  std::string LineWidth = "4";   // pixels, a decimal number
  TUnits Units = TUnits::Metric;
};

// The words the converter's options and the window's settings use for each choice, and back.
std::string_view ProfileName(TProfile profile);
std::optional<TProfile> ProfileNamed(std::string_view name);
std::string_view AltitudeName(TAltitude altitude);
std::optional<TAltitude> AltitudeNamed(std::string_view name);
std::optional<TUnits> UnitsNamed(std::string_view name);
// Whether `text` is a line width a reader accepts: a decimal number above 0 and at most 100.
bool IsLineWidth(std::string_view text);

}  // namespace tarvola::kml
