#include "gps/gpx_reader.h"

#include <pugixml.hpp>

#include <algorithm>
#include <new>
#include <string>
#include <string_view>

#include "gps/text_file.h"
#include "gps/xml_lookup.h"

namespace tarvola::gps {

namespace {

// No DTD is ever read (pugixml resolves only the predefined and numeric entities and fetches
// nothing); whitespace-only text is dropped; comments and processing instructions are kept
// because they make an element "have child nodes". Text is embedded in its element to save a
// node per value: a whole-file DOM is the largest cost of a load. Parsed as a fragment, so that
// text or a second element beside the document element shows up and can be refused.
constexpr unsigned ParseOptions = pugi::parse_cdata | pugi::parse_escapes |
                                  pugi::parse_wconv_attribute | pugi::parse_eol |
                                  pugi::parse_comments | pugi::parse_pi | pugi::parse_embed_pcdata |
                                  pugi::parse_fragment;

// The first child of each value name, found in one pass (empty nodes for the missing ones).
struct TValueChildren {
  pugi::xml_node Ele, Time, Name, Cmt, Desc, Sym;
};

pugi::xml_node* SlotFor(TValueChildren& values, std::string_view localName, bool allFields) {
  if (localName == "ele") return &values.Ele;
  if (localName == "time") return &values.Time;
  if (!allFields) return nullptr;
  if (localName == "name") return &values.Name;
  if (localName == "cmt") return &values.Cmt;
  if (localName == "desc") return &values.Desc;
  if (localName == "sym") return &values.Sym;
  return nullptr;
}

// The same children FindNode would find for each name, without a pass per name.
TValueChildren FindValueChildren(pugi::xml_node point, std::string_view ns, bool allFields) {
  TValueChildren values;
  std::string_view pointPrefix = ns.empty() ? std::string_view() : PrefixOf(point.name());
  for (pugi::xml_node child = point.first_child(); child; child = child.next_sibling()) {
    if (child.type() != pugi::node_element) continue;
    const char* name = child.name();
    std::string_view local = LocalName(name);
    pugi::xml_node* slot = SlotFor(values, local, allFields);
    if (!slot || *slot) continue;
    if (!ns.empty() && NamespaceOfChild(child, PrefixOf(name), pointPrefix, ns) != ns) continue;
    *slot = child;
  }
  return values;
}

// One walk of a file: the clock is asked at most once for "now" and the local zone.
struct TReader {
  TLocalClock Clock;

  // Most time elements hold one text: read it where it lies, without a copy.
  TDateTimeZ ReadTime(pugi::xml_node element) {
    if (!element.first_child()) return Iso8601ToDateTimeZ(element.value(), Clock);
    return Iso8601ToDateTimeZ(ElementText(element), Clock);
  }

  // Route planners write <ele/> for points they have no height for; an empty third value in
  // a KML coordinate makes readers other than Google Earth drop or merge points.
  static void ReadElevation(pugi::xml_node element, std::string& alt) {
    std::string text = ElementText(element);
    if (text.find_first_not_of(" \t\r\n") != std::string::npos) alt = std::move(text);
  }

  void ReadTrackPoint(pugi::xml_node element, std::string_view ns, TTrkPt& point) {
    point.Lat = element.attribute("lat").value();
    point.Lon = element.attribute("lon").value();
    if (!HasChildNodes(element)) return;
    TValueChildren values = FindValueChildren(element, ns, false);
    if (values.Ele) ReadElevation(values.Ele, point.Alt);
    if (values.Time) point.Time = ReadTime(values.Time);
  }

  void ReadPoint(pugi::xml_node element, std::string_view ns, TPointFields& point) {
    point.Lat = element.attribute("lat").value();
    point.Lon = element.attribute("lon").value();
    if (!HasChildNodes(element)) {
      point.Name = "<noname>";
      return;
    }
    TValueChildren values = FindValueChildren(element, ns, true);
    if (values.Ele) ReadElevation(values.Ele, point.Alt);
    if (values.Time) point.Time = ReadTime(values.Time);
    point.Name = ElementText(values.Name);
    point.Cmt = ElementText(values.Cmt);
    point.Desc = ElementText(values.Desc);
    point.Sym = ElementText(values.Sym);
  }

  TRte ReadRoute(pugi::xml_node element) {
    TRte route;
    if (!HasChildNodes(element)) return route;
    route.Name = ElementText(FindNode(element, "name"));
    auto& points = route.Points.emplace();
    points.reserve(CountChildren(element, "rtept"));
    std::string_view ns = NamespaceOf(element);
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      if (NameIsAnyCase(child.name(), "rtept"))
        ReadPoint(child, NamespaceOfChild(child, element, ns), points.emplace_back());
    return route;
  }

  TTrkSeg ReadSegment(pugi::xml_node element) {
    TTrkSeg segment;
    if (!HasChildNodes(element)) return segment;
    auto& points = segment.Points.emplace();
    points.reserve(CountElements(element));
    std::string_view ns = NamespaceOf(element);
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      if (NameIsAnyCase(child.name(), "trkpt"))
        ReadTrackPoint(child, NamespaceOfChild(child, element, ns), points.emplace_back());
    return segment;
  }

  TTrk ReadTrack(pugi::xml_node element) {
    TTrk track;
    if (!HasChildNodes(element)) return track;
    track.Name = ElementText(FindNode(element, "name"));
    auto& segments = track.Segments.emplace();
    segments.reserve(CountChildren(element, "trkseg"));
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      if (NameIsAnyCase(child.name(), "trkseg")) segments.push_back(ReadSegment(child));
    return track;
  }

  void ReadDocument(pugi::xml_node gpx, TGpsData& data) {
    auto& waypoints = data.Waypoints.emplace();
    auto& routes = data.Routes.emplace();
    auto& tracks = data.Tracks.emplace();
    waypoints.reserve(CountChildren(gpx, "wpt"));
    std::string_view ns = NamespaceOf(gpx);
    for (pugi::xml_node child = gpx.first_child(); child; child = child.next_sibling()) {
      const char* name = child.name();
      if (NameIsAnyCase(name, "wpt"))
        ReadPoint(child, NamespaceOfChild(child, gpx, ns), waypoints.emplace_back());
      else if (NameIsAnyCase(name, "rte"))
        routes.push_back(ReadRoute(child));
      else if (NameIsAnyCase(name, "trk"))
        tracks.push_back(ReadTrack(child));
    }
  }

  // An upper bound for a list's size that reads only the node headers, not the names: a track
  // segment of a million points is walked twice, and the first walk should be the cheap one.
  static std::size_t CountElements(pugi::xml_node element) {
    std::size_t count = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      count += child.type() == pugi::node_element;
    return count;
  }

  static std::size_t CountChildren(pugi::xml_node element, std::string_view lower) {
    std::size_t count = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
      if (NameIsAnyCase(child.name(), lower)) ++count;
    return count;
  }
};

// XML allows only markup around the one document element; empty when that holds.
std::string DocumentElementFault(const pugi::xml_document& document) {
  int elements = 0;
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    switch (node.type()) {
      case pugi::node_element: ++elements; break;
      case pugi::node_pcdata:
      case pugi::node_cdata: return "text outside the document element";
      default: break;
    }
  }
  if (elements == 0) return "no XML document element";
  if (elements > 1) return "more than one document element";
  return {};
}

std::size_t MarkLength(std::string_view text) {
  return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}

// `errorOffset`: where the text stops being well-formed, counted in the text as decoded.
TLoadResult ParseGpx(std::string& text, TGpsData& data, std::string& reason,
                     std::size_t& errorOffset) {
  const std::size_t start = MarkLength(text);
  pugi::xml_document document;
  pugi::xml_parse_result parsed = document.load_buffer_inplace(
      text.data() + start, text.size() - start, ParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    errorOffset = start + static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0));
    return TLoadResult::NotGpx;
  }
  reason = DocumentElementFault(document);
  if (!reason.empty()) return TLoadResult::NotGpx;
  pugi::xml_node root = document.document_element();
  if (!NameIsAnyCase(root.name(), "gpx")) {
    reason = std::string("the document element is ") + root.name() + ", not gpx";
    return TLoadResult::NotGpx;
  }
  TReader reader;
  reader.ReadDocument(root, data);
  return TLoadResult::Loaded;
}

// The parser rewrites the text in place up to where it stops, so the position is read from the
// file decoded once more; a failure is rare and this keeps a load from holding two copies.
std::string NotWellFormed(const std::filesystem::path& fileName, std::size_t offset) {
  std::string text;
  DecodeTextFile(fileName, text);
  const std::size_t start = MarkLength(text);
  TTextPosition at =
      PositionInText(std::string_view(text).substr(start), offset - std::min(offset, start));
  return "not well-formed XML at line " + std::to_string(at.Line) + ", column " +
         std::to_string(at.Column);
}

}  // namespace

TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data) {
  std::string reason;
  return LoadGpxFile(fileName, data, reason);
}

TLoadResult LoadGpxFile(const std::filesystem::path& fileName, TGpsData& data,
                        std::string& reason) {
  FreeGpsData(data);
  reason.clear();
  try {
    std::string text;
    std::error_code error;
    int code = DecodeTextFile(fileName, text, error);
    if (code == TextFileCannotOpen) {
      reason = error.message();
      return TLoadResult::CannotOpen;
    }
    if (code == TextFileEncodingNotSupported) {
      reason = "UTF-32 text in big-endian byte order";
      return TLoadResult::EncodingNotSupported;
    }
    std::size_t errorOffset = std::string::npos;
    TLoadResult result = ParseGpx(text, data, reason, errorOffset);
    if (result != TLoadResult::Loaded) FreeGpsData(data);
    if (errorOffset != std::string::npos) reason = NotWellFormed(fileName, errorOffset);
    return result;
  } catch (const std::bad_alloc&) {
    // A file too large for this machine's memory is a failed load, not a crash.
    FreeGpsData(data);
    reason = "not enough memory to load the file";
    return TLoadResult::NotGpx;
  }
}

}  // namespace tarvola::gps
