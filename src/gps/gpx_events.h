#pragma once

#include <string>

#include "gps/gps_data.h"

namespace tarvola::gps {

// What the GPX reader finds, in the order of the file. The records handed over may be moved
// from. A route's or a track's name comes with its end, as the name may follow the points.
// `hasChildNodes` false: the element was empty, so it has no list (and no name); comments and
// processing instructions count as child nodes.
class TGpxEvents {
public:
  virtual ~TGpxEvents() = default;

  virtual void Waypoint(TWpt& point) = 0;
  virtual void RouteBegin() = 0;
  virtual void RoutePoint(TRtePt& point) = 0;
  virtual void RouteEnd(std::string& name, bool hasChildNodes) = 0;
  virtual void TrackBegin() = 0;
  virtual void SegmentBegin() = 0;
  virtual void TrackPoint(TTrkPt& point) = 0;
  virtual void SegmentEnd(bool hasChildNodes) = 0;
  virtual void TrackEnd(std::string& name, bool hasChildNodes) = 0;
};

}  // namespace tarvola::gps
