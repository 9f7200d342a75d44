#pragma once

#include <string>
#include <vector>

#include "gps/gps_data.h"
#include "gps/iso8601.h"

namespace tarvola::test {

inline gps::TWpt Waypoint(std::string name, std::string lat = "47.1", std::string lon = "11.2") {
  gps::TWpt w;
  w.Name = std::move(name);
  w.Lat = std::move(lat);
  w.Lon = std::move(lon);
  return w;
}

inline gps::TTrkPt TrackPoint(int i) {
  gps::TTrkPt p;
  p.Lat = "46." + std::to_string(i);
  p.Lon = "7." + std::to_string(i);
  p.Alt = std::to_string(1000 + i);
  return p;
}

inline gps::TTrkSeg Segment(int points) {
  gps::TTrkSeg s;
  s.Points.emplace();
  for (int i = 0; i < points; ++i) s.Points->push_back(TrackPoint(i));
  return s;
}

inline gps::TTrkSeg UnlistedSegment() { return {}; }

inline gps::TTrk Track(std::string name, std::vector<gps::TTrkSeg> segments) {
  gps::TTrk t;
  t.Name = std::move(name);
  t.Segments = std::move(segments);
  return t;
}

inline gps::TRte Route(std::string name, int points) {
  gps::TRte r;
  r.Name = std::move(name);
  r.Points.emplace();
  for (int i = 0; i < points; ++i) {
    gps::TRtePt p;
    p.Name = "R" + std::to_string(i + 1);
    r.Points->push_back(p);
  }
  return r;
}

// A data set whose three lists exist, so that absent lists are tested on purpose only.
inline gps::TGpsData Data(std::vector<gps::TWpt> w, std::vector<gps::TRte> r, std::vector<gps::TTrk> t) {
  gps::TGpsData data;
  data.Waypoints = std::move(w);
  data.Routes = std::move(r);
  data.Tracks = std::move(t);
  return data;
}

}  // namespace tarvola::test
