#include "kml_builder.h"

#include "gps/user_format.h"
#include "document_streamer.h"
#include "kml_folders.h"
#include "kml_writer.h"

namespace tarvola::kml {

namespace {

constexpr std::string_view KmlNamespace = "http://earth.google.com/kml/2.1";
constexpr std::string_view Icon52 = "http://maps.google.com/mapfiles/kml/pal3/icon52.png";

void WriteIconStyle(TKmlWriter& writer, std::string_view id, std::string_view scale,
                    std::string_view icon, bool hotSpot) {
  writer.Open("Style", {{"id", id}});
  writer.Open("IconStyle");
  if (!scale.empty()) writer.Text("scale", scale);
  writer.Open("Icon");
  writer.Text("href", icon);
  writer.Close();
  if (hotSpot) {
    writer.Empty("hotSpot", {{"x", "20"}, {"y", "2"}, {"xunits", "pixels"}, {"yunits", "pixels"}});
  }
  writer.Close();
  writer.Empty("ListStyle");
  writer.Close();
}

void WriteStyleMap(TKmlWriter& writer, std::string_view id, std::string_view normal,
                   std::string_view highlight) {
  writer.Open("StyleMap", {{"id", id}});
  writer.Open("Pair");
  writer.Text("key", "normal");
  writer.Text("styleUrl", normal);
  writer.Close();
  writer.Open("Pair");
  writer.Text("key", "highlight");
  writer.Text("styleUrl", highlight);
  writer.Close();
  writer.Close();
}

void WriteLineStyle(TKmlWriter& writer, std::string_view id, std::string_view color) {
  writer.Open("Style", {{"id", id}});
  writer.Open("LineStyle");
  writer.Text("color", color);
  writer.Text("width", "4");
  writer.Close();
  writer.Close();
}

void WriteHead(TKmlWriter& writer, std::string_view createdText) {
  writer.Text("name", "GPS device");
  writer.Text("open", "1");
  std::string snippet = "Created ";
  snippet.append(createdText);
  writer.Text("Snippet", snippet, {{"maxLines", "1"}});
  WriteIconStyle(writer, "sn_ylw-pushpin", "", PushpinIcon, true);
  WriteIconStyle(writer, "sh_ylw-pushpin", "1.18182", PushpinIcon, true);
  WriteStyleMap(writer, "msn_ylw-pushpin", "#sn_ylw-pushpin", "#sh_ylw-pushpin");
  WriteIconStyle(writer, "sn_icon60", "", Icon60, false);
  WriteIconStyle(writer, "sh_icon52", "1.1", Icon52, false);
  WriteStyleMap(writer, "msn_icon60", "#sn_icon60", "#sh_icon52");
  WriteLineStyle(writer, "TrackLineStyle", "64eeee17");
  WriteLineStyle(writer, "RouteLineStyle", "6417eeee");
}

}  // namespace

void BeginKmlDocument(TKmlWriter& writer, std::string_view createdText) {
  writer.Declaration();
  writer.Open("kml", {{"xmlns", KmlNamespace}});
  writer.Open("Document");
  WriteHead(writer, createdText);
}

std::string BuildKml(const gps::TGpsData& data, const TExportOptions& options,
                     std::string_view createdText) {
  TTextSink sink;
  const auto streamer = MakeDocumentStreamer(options, createdText, sink, TKindOrder::InOrder);
  StreamGpsData(data, *streamer);
  return std::move(sink.Text);
}

std::string CreatedNowText() { return gps::UserDateTimeText(gps::NowLocalDateTime(), true); }

}  // namespace tarvola::kml
