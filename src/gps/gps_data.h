#pragma once

#include <optional>
#include <string>
#include <vector>

#include "iso8601.h"

namespace tarvola::gps {

// Every value stays the text the file held; std::optional lists keep "absent" apart from "empty".

struct TPointFields {
  std::string Lat;
  std::string Lon;
  std::string Alt = "0";
  TDateTimeZ Time;
  std::string Name;
  std::string Cmt;
  std::string Desc;
  std::string Sym;
};

struct TWpt : TPointFields {};
struct TRtePt : TPointFields {};

struct TTrkPt {
  std::string Lat;
  std::string Lon;
  std::string Alt = "0";
  TDateTimeZ Time;
};

struct TRte {
  std::string Name;
  std::optional<std::vector<TRtePt>> Points;
};

// The holder of one trkseg: no list when the element had no child nodes.
struct TTrkSeg {
  std::optional<std::vector<TTrkPt>> Points;
};

struct TTrk {
  std::string Name;
  std::optional<std::vector<TTrkSeg>> Segments;
};

struct TGpsData {
  std::optional<std::vector<TWpt>> Waypoints;
  std::optional<std::vector<TRte>> Routes;
  std::optional<std::vector<TTrk>> Tracks;
};

// Empties the lists that exist; absent lists stay absent.
void ClearGpsData(TGpsData& data);
// Clears, then makes all three lists absent.
void FreeGpsData(TGpsData& data);

}  // namespace tarvola::gps
