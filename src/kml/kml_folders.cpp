#include "kml_folders.h"

#include <string>

#include "kml_text.h"

namespace tarvola::kml {

void WritePointPlacemark(TKmlWriter& writer, const gps::TPointFields& point,
                         std::string_view styleUrl, const gps::TDateTimeZ* timeStamp) {
  writer.Open("Placemark");
  writer.Text("name", point.Name);
  if (timeStamp != nullptr && timeStamp->Exists) {
    writer.Open("TimeStamp");
    writer.Text("when", TimeText(*timeStamp));
    writer.Close();
  }
  const std::string description = DescriptionOf(point.Desc, point.Cmt);
  if (!description.empty()) writer.Text("description", description);
  writer.Text("styleUrl", styleUrl);
  writer.Open("Point");
  writer.BeginText("coordinates");
  AppendCoordTriple(writer, point);
  writer.EndText();
  writer.Close();
  writer.Close();
}

void BeginLinePlacemark(TKmlWriter& writer, std::string_view name, std::string_view styleUrl) {
  writer.Open("Placemark");
  writer.Text("name", name);
  writer.Text("styleUrl", styleUrl);
  writer.Open("LineString");
  writer.Text("tessellate", "1");
  writer.BeginText("coordinates");
}

void EndLinePlacemark(TKmlWriter& writer) {
  writer.EndText();
  writer.Close();
  writer.Close();
}

void OpenItemFolder(TKmlWriter& writer, std::string_view name) {
  writer.Open("Folder");
  writer.Text("name", name);
  writer.Text("open", "0");
}

void OpenListFolder(TKmlWriter& writer, std::string_view name) {
  writer.Open("Folder");
  writer.Text("name", name);
  writer.Text("visibility", "1");
  writer.Text("open", "0");
}

void OpenWaypointsFolder(TKmlWriter& writer) {
  writer.Open("Folder");
  writer.Text("name", "Waypoints");
  writer.Text("open", "0");
  writer.Text("visibility", "1");
}

}  // namespace tarvola::kml
