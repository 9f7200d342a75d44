#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gps/gps_data.h"

namespace tarvola::gps {

// The sensor an extension element of a track point holds, by its local name: the Garmin
// TrackPointExtension's (hr, cad, atemp, wtemp, depth, speed, course), the power extensions'
// and the plain names other programs write.
std::optional<TSensor> SensorNamed(std::string_view localName);

// A line colour as "rrggbb": from a Garmin DisplayColor name ("DarkBlue"), or from hex text
// ("893380", "#893380"). Empty for anything else, "Transparent" included.
std::string ColorFromName(std::string_view name);
std::string ColorFromHex(std::string_view text);

// `text` without XML white space around it.
std::string_view TrimXmlSpace(std::string_view text);

}  // namespace tarvola::gps
