#pragma once

#include <string>

#include "gps/gps_data.h"

namespace tarvola::gps {

// What the GPX reader finds, in the order of the file. The records handed over may be moved
// from. A route's or a track's name comes with its end, as the name may follow the points.
// `color` is the list's line colour as "rrggbb", or empty. `hasChildNodes` false: the element was empty, so it has no list (and no name); comments and
// processing instructions count as child nodes.
class TGpxEvents {
public:
  virtual ~TGpxEvents() = default;

  virtual void Waypoint(TWpt& point) = 0;
  virtual void RouteBegin() = 0;
  virtual void RoutePoint(TRtePt& point) = 0;
  virtual void RouteEnd(std::string& name, std::string& color, bool hasChildNodes) = 0;
  virtual void TrackBegin() = 0;
  virtual void SegmentBegin() = 0;
  virtual void TrackPoint(TTrkPt& point) = 0;
  virtual void SegmentEnd(bool hasChildNodes) = 0;
  virtual void TrackEnd(std::string& name, std::string& color, bool hasChildNodes) = 0;
};

}  // namespace tarvola::gps
