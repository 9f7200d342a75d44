#pragma once

// The yardstick of the load and conversion benchmarks: pugixml alone, default options, doing
// what any consumer of the DOM does at the least: touching each track point's coordinates and
// values.

#include <pugixml.hpp>

#include <cstddef>
#include <cstring>

namespace tarvola::bench {

// 0 when the file parsed and held track points.
inline int PugixmlAlone(const char* path) {
  pugi::xml_document document;
  if (!document.load_file(path)) return 1;
  std::size_t points = 0, characters = 0;
  for (pugi::xml_node trk : document.document_element().children("trk"))
    for (pugi::xml_node seg : trk.children("trkseg"))
      for (pugi::xml_node pt : seg.children("trkpt")) {
        characters +=
            std::strlen(pt.attribute("lat").value()) + std::strlen(pt.attribute("lon").value());
        characters += std::strlen(pt.child_value("ele")) + std::strlen(pt.child_value("time"));
        ++points;
      }
  return points > 0 && characters > 0 ? 0 : 1;
}

}  // namespace tarvola::bench
