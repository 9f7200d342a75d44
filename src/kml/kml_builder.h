#pragma once

#include <string>
#include <string_view>

#include "gps/gps_data.h"
#include "kml_profile.h"

namespace tarvola::kml {

// The five export options, with the window's design defaults, and the document they go into.
struct TExportOptions {
  bool Waypoints = true;
  bool Routes = true;
  bool Tracks = true;
  bool JoinSegments = false;
  bool TimeStamps = false;
  TOutputProfile Output{};
};

// The whole KML document, UTF-8, "<?xml" first. `createdText` follows "Created " in the
// Snippet (the local date and long time; see CreatedNowText()).
std::string BuildKml(const gps::TGpsData& data, const TExportOptions& options,
                     std::string_view createdText);

class TKmlWriter;
// The declaration, the open kml and Document elements and the head inside them: what every
// document starts with. The caller closes the two elements.
void BeginKmlDocument(TKmlWriter& writer, std::string_view createdText);

// The current local date and time in the user's short date and long time formats.
std::string CreatedNowText();

}  // namespace tarvola::kml
