#include "gps/gpx_parser.h"

#include <expat.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "gps/control_mask.h"
#include "gps/gpx_extensions.h"
#include "gps/text_read_ahead.h"
#include "gps/xml_lookup.h"
#include "gps/xml_repair.h"

namespace tarvola::gps {

namespace {

// PointExtensions and ListExtensions: inside the extensions of a track point or of a route or
// track, where the sensor readings and line colours lie, however deep other programs nest them.
enum class TRole : unsigned char {
  Ignored, Gpx, Wpt, Rte, RtePt, Trk, TrkSeg, TrkPt, Value, PointExtensions, ListExtensions,
};

// The value element a point or a route or track takes its text from.
enum class TSlot : unsigned char { None, Ele, Time, Name, Cmt, Desc, Sym, Sensor, ColorName, ColorHex };

struct TFrame {
  TRole Role = TRole::Ignored;
  bool HasChildNodes = false;
  TSlot Slot = TSlot::None;        // for a Value: which one
  TSensor Sensor = TSensor::HeartRate;  // for a Sensor value
  std::string_view Namespace;      // for points, routes and tracks: where their values lie
};

struct TBinding {
  std::string Prefix;
  std::string Uri;
  std::size_t Depth;
};

TSlot SlotFor(std::string_view localName, bool allFields) {
  if (localName == "ele") return TSlot::Ele;
  if (localName == "time") return TSlot::Time;
  if (!allFields) return TSlot::None;
  if (localName == "name") return TSlot::Name;
  if (localName == "cmt") return TSlot::Cmt;
  if (localName == "desc") return TSlot::Desc;
  if (localName == "sym") return TSlot::Sym;
  return TSlot::None;
}

unsigned SlotBit(TSlot slot) { return 1u << static_cast<unsigned>(slot); }

const char* AttributeValue(const XML_Char** attributes, const char* name) {
  for (const XML_Char** a = attributes; *a; a += 2)
    if (std::strcmp(a[0], name) == 0) return a[1];
  return "";
}

std::string LimitText(std::size_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

struct TParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// The element-by-element rules of the reader, driven by expat's callbacks.
class TGpxParser {
public:
  explicit TGpxParser(TGpxEvents& events) : FEvents(events) {}

  TLoadOutcome Parse(TTextSource& source, THelperThreads helpers);

private:
  void Install(XML_Parser parser);
  bool FeedAll(TTextReadAhead& ahead);
  void Refuse(std::string reason);
  bool Prepare(std::string& piece, bool last);
  void DropBlankBeforeDeclaration(std::string& piece);
  bool Feed(std::string& piece, bool final);
  std::string FailureReason();

  // expat's callbacks; each stops the parse on an exception and keeps it for later.
  template <typename TBody>
  void Guarded(TBody body);
  void StartElement(const XML_Char* name, const XML_Char** attributes);
  void EndElement();
  void Characters(std::string_view text);
  void Markup();
  void StartCdata();

  void FlushRun();
  std::string_view NamespaceOf(std::string_view name) const;
  void BindNamespaces(const XML_Char** attributes);
  void StartPointChild(TFrame& point, std::string_view name, bool allFields);
  void StartTrackPointChild(TFrame& point, std::string_view name);
  void StartExtension(TRole role, std::string_view name);
  void EndSensor(TSensor sensor);
  void StartChild(TFrame& parent, std::string_view name, const XML_Char** attributes);
  void EndValue(TRole parent, TSlot slot);

  TGpxEvents& FEvents;
  TAmpersandRepair FRepair;
  XML_Parser FParser = nullptr;
  std::exception_ptr FFault;
  std::string FRefusal;         // why the file costs more than it may
  std::uint64_t FFed = 0;       // bytes handed to expat
  std::vector<TFrame> FFrames;
  std::deque<TBinding> FBindings;  // a deque: frames keep views of the URIs
  bool FRootSeen = false;
  std::string FWrongRoot;
  bool FInCdata = false;
  std::size_t FCaptureDepth = 0;  // depth of the value element being read; 0 for none
  std::string FCapture;           // its text so far
  std::string FRun;               // text since the last markup, inside a value
  unsigned FTaken = 0;            // the value slots of the current point already found
  bool FListNameTaken = false;
  TWpt FWaypoint;
  TRtePt FRoutePoint;
  TPointFields* FPoint = &FWaypoint;
  TTrkPt FTrackPoint;
  std::string FListName;
  std::string FListColor;
  TLocalClock FClock;
  bool FMasked = false;
  // Touched by the reading thread only while it runs.
  bool FFirstPiece = true;
  char FFirstChar = 0;  // the text's first but blanks; 0 before any
  std::size_t FDroppedLines = 0;
  std::size_t FDroppedColumns = 0;
};

template <typename TBody>
void TGpxParser::Guarded(TBody body) {
  if (FFault || !FRefusal.empty()) return;
  try {
    body();
  } catch (...) {
    FFault = std::current_exception();
    XML_StopParser(FParser, XML_FALSE);
  }
}

void TGpxParser::Install(XML_Parser parser) {
  XML_SetUserData(parser, this);
  XML_SetElementHandler(
      parser,
      [](void* self, const XML_Char* name, const XML_Char** attributes) {
        auto* p = static_cast<TGpxParser*>(self);
        p->Guarded([&] { p->StartElement(name, attributes); });
      },
      [](void* self, const XML_Char*) {
        auto* p = static_cast<TGpxParser*>(self);
        p->Guarded([&] { p->EndElement(); });
      });
  XML_SetCharacterDataHandler(parser, [](void* self, const XML_Char* text, int length) {
    auto* p = static_cast<TGpxParser*>(self);
    p->Guarded([&] { p->Characters(std::string_view(text, static_cast<std::size_t>(length))); });
  });
  XML_SetCommentHandler(parser, [](void* self, const XML_Char*) {
    auto* p = static_cast<TGpxParser*>(self);
    p->Guarded([&] { p->Markup(); });
  });
  XML_SetProcessingInstructionHandler(parser, [](void* self, const XML_Char*, const XML_Char*) {
    auto* p = static_cast<TGpxParser*>(self);
    p->Guarded([&] { p->Markup(); });
  });
  XML_SetCdataSectionHandler(
      parser,
      [](void* self) {
        auto* p = static_cast<TGpxParser*>(self);
        p->Guarded([&] { p->StartCdata(); });
      },
      [](void* self) { static_cast<TGpxParser*>(self)->FInCdata = false; });
  // With a default handler, references to entities the document declares itself are not
  // expanded but handed over as written, and stay in the text: no entity can blow up a value.
  // No external entity is ever read (there is no handler to read one).
  XML_SetDefaultHandler(parser, [](void* self, const XML_Char* text, int length) {
    auto* p = static_cast<TGpxParser*>(self);
    const std::string_view data(text, static_cast<std::size_t>(length));
    if (p->FFrames.empty() || data.size() < 3 || data.front() != '&' || data.back() != ';') return;
    p->Guarded([&] { p->Characters(data); });
  });
  XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

TLoadOutcome TGpxParser::Parse(TTextSource& source, THelperThreads helpers) {
  // The decoded text is UTF-8 whatever its declaration says: the name given here wins.
  std::unique_ptr<XML_ParserStruct, TParserDeleter> parser(XML_ParserCreate("UTF-8"));
  if (!parser) throw std::bad_alloc();
  FParser = parser.get();
  Install(FParser);
  bool parsed = true;
  {
    TTextReadAhead ahead(
        source, [this](std::string& text, bool last) { return Prepare(text, last); }, helpers);
    parsed = FeedAll(ahead);
  }
  if (source.Error()) return OpenFailure(source.ReadFailure());
  if (parsed) {
    std::string end;
    parsed = Feed(end, true);
  }
  if (FFault) std::rethrow_exception(FFault);
  if (!FRefusal.empty()) return {TLoadResult::NotGpx, source.Name(), FRefusal};
  if (!parsed) return {TLoadResult::NotGpx, source.Name(), FailureReason()};
  if (!FWrongRoot.empty())
    return {TLoadResult::NotGpx, source.Name(), "the document element is " + FWrongRoot + ", not gpx"};
  return {TLoadResult::Loaded, source.Name(), {}};
}

// Expat 2.5 reads a token that is not complete yet again from its start with every piece, which
// costs the square of a long token's length; pieces are gathered until they are at least as long
// as what expat holds, so that it reads each byte a few times at most.
bool TGpxParser::FeedAll(TTextReadAhead& ahead) {
  std::string piece, batch;
  bool masked = false;
  while (ahead.Next(piece, masked)) {
    if (masked) FMasked = true;
    batch.append(piece);
    const std::uint64_t held = FFed - static_cast<std::uint64_t>(XML_GetCurrentByteIndex(FParser));
    if (held > TokenLimit) {
      Refuse("a single tag or text is longer than " + LimitText(TokenLimit));
      return false;
    }
    if (batch.size() < held) continue;
    if (!Feed(batch, false)) return false;
    batch.clear();
  }
  return Feed(batch, false);
}

// Ends the parse: the file costs more than any GPX file may.
void TGpxParser::Refuse(std::string reason) {
  if (FRefusal.empty()) FRefusal = std::move(reason);
  XML_StopParser(FParser, XML_FALSE);
}

// On the reading thread: what the text needs before expat may see it.
bool TGpxParser::Prepare(std::string& piece, bool last) {
  if (FFirstPiece) {
    DropBlankBeforeDeclaration(piece);
    FFirstPiece = piece.empty();
  }
  FRepair.Repair(piece, last);
  return MaskControls(piece);
}

// Blank lines before the XML declaration are not well-formed XML, but files that have them have
// always loaded. Positions in messages still count them.
void TGpxParser::DropBlankBeforeDeclaration(std::string& piece) {
  const std::size_t start = piece.find_first_not_of(" \t\r\n");
  if (start == std::string::npos || start == 0 || piece.compare(start, 5, "<?xml") != 0 ||
      start + 5 >= piece.size() || !IsXmlSpace(piece[start + 5]))
    return;
  for (std::size_t i = 0; i < start; ++i) {
    if (piece[i] == '\n' || (piece[i] == '\r' && (i + 1 == start || piece[i + 1] != '\n'))) {
      ++FDroppedLines;
      FDroppedColumns = 0;
    } else if (piece[i] != '\r') {
      ++FDroppedColumns;
    }
  }
  piece.erase(0, start);
}

bool TGpxParser::Feed(std::string& piece, bool final) {
  if (FFirstChar == 0) {
    const std::size_t first = piece.find_first_not_of(" \t\r\n");
    if (first != std::string::npos) FFirstChar = piece[first];
  }
  FFed += piece.size();
  return XML_Parse(FParser, piece.data(), static_cast<int>(piece.size()), final) == XML_STATUS_OK;
}

std::string TGpxParser::FailureReason() {
  const XML_Error code = XML_GetErrorCode(FParser);
  if (code == XML_ERROR_NO_MEMORY) throw std::bad_alloc();
  if (!FRootSeen && FFed == 0) return "the file is empty";
  if (!FRootSeen && FFirstChar != 0 && FFirstChar != '<') return "not a GPX file: it is not XML";
  if (code == XML_ERROR_NO_ELEMENTS && !FRootSeen) return "no XML document element";
  int offset = 0, size = 0;
  const char* context = XML_GetInputContext(FParser, &offset, &size);
  const std::string_view at =
      context && offset >= 0 && offset < size
          ? std::string_view(context + offset, static_cast<std::size_t>(size - offset))
          : std::string_view();
  if (code == XML_ERROR_JUNK_AFTER_DOC_ELEMENT) {
    const bool element = at.size() > 1 && at[0] == '<' && at[1] != '!' && at[1] != '?';
    return element ? "more than one document element" : "text outside the document element";
  }
  if (!FRootSeen && context && offset >= 0) {
    // Before the document element expat stops at the text or at the markup after it.
    std::string_view before(context, static_cast<std::size_t>(offset));
    const std::size_t last = before.find_last_not_of(" \t\r\n");
    const bool textBefore = last != std::string_view::npos && before[last] != '>';
    if (textBefore || (!at.empty() && at.front() != '<')) return "text outside the document element";
  }
  std::size_t line = XML_GetCurrentLineNumber(FParser);
  std::size_t column = XML_GetCurrentColumnNumber(FParser) + 1;
  if (line == 1) column += FDroppedColumns;
  line += FDroppedLines;
  return "not well-formed XML at line " + std::to_string(line) + ", column " + std::to_string(column);
}

std::string_view TGpxParser::NamespaceOf(std::string_view name) const {
  const std::string_view prefix = PrefixOf(name);
  for (auto b = FBindings.rbegin(); b != FBindings.rend(); ++b)
    if (b->Prefix == prefix) return b->Uri;
  return {};
}

void TGpxParser::BindNamespaces(const XML_Char** attributes) {
  for (const XML_Char** a = attributes; *a; a += 2) {
    if (a[0][0] != 'x') continue;
    const std::string_view name = a[0];
    if (name.substr(0, 5) != "xmlns") continue;
    if (name.size() == 5)
      FBindings.push_back({std::string(), a[1], FFrames.size()});
    else if (name[5] == ':')
      FBindings.push_back({std::string(name.substr(6)), a[1], FFrames.size()});
  }
}

void TGpxParser::StartPointChild(TFrame& point, std::string_view name, bool allFields) {
  const TSlot slot = SlotFor(LocalName(name), allFields);
  if (slot == TSlot::None || (FTaken & SlotBit(slot)) != 0) return;
  if (!point.Namespace.empty() && NamespaceOf(name) != point.Namespace) return;
  FTaken |= SlotBit(slot);
  FFrames.back().Role = TRole::Value;
  FFrames.back().Slot = slot;
}

void TGpxParser::StartChild(TFrame& parent, std::string_view name, const XML_Char** attributes) {
  TFrame& frame = FFrames.back();
  auto startPoint = [&](TRole role) {
    frame.Role = role;
    frame.Namespace = NamespaceOf(name);
    FTaken = 0;
    if (role == TRole::TrkPt) {
      FTrackPoint = TTrkPt();
      FTrackPoint.Lat = AttributeValue(attributes, "lat");
      FTrackPoint.Lon = AttributeValue(attributes, "lon");
      if (FMasked) UnmaskControls(FTrackPoint.Lat), UnmaskControls(FTrackPoint.Lon);
    } else {
      FPoint = role == TRole::Wpt ? static_cast<TPointFields*>(&FWaypoint) : &FRoutePoint;
      *FPoint = TPointFields();
      FPoint->Lat = AttributeValue(attributes, "lat");
      FPoint->Lon = AttributeValue(attributes, "lon");
      if (FMasked) UnmaskControls(FPoint->Lat), UnmaskControls(FPoint->Lon);
    }
  };
  auto startList = [&](TRole role) {
    frame.Role = role;
    frame.Namespace = NamespaceOf(name);
    FListNameTaken = false;
    FListName.clear();
    FListColor.clear();
  };
  switch (parent.Role) {
    case TRole::Gpx:
      if (NameIsAnyCase(name, "wpt")) {
        startPoint(TRole::Wpt);
      } else if (NameIsAnyCase(name, "rte")) {
        startList(TRole::Rte);
        FEvents.RouteBegin();
      } else if (NameIsAnyCase(name, "trk")) {
        startList(TRole::Trk);
        FEvents.TrackBegin();
      }
      break;
    case TRole::Rte:
    case TRole::Trk:
      if (NameIsAnyCase(name, parent.Role == TRole::Rte ? "rtept" : "trkseg")) {
        if (parent.Role == TRole::Rte) {
          startPoint(TRole::RtePt);
        } else {
          frame.Role = TRole::TrkSeg;
          FEvents.SegmentBegin();
        }
      } else if (LocalName(name) == "extensions") {
        frame.Role = TRole::ListExtensions;
      } else if (LocalName(name) == "name" && !FListNameTaken &&
                 (parent.Namespace.empty() || NamespaceOf(name) == parent.Namespace)) {
        FListNameTaken = true;
        frame.Role = TRole::Value;
        frame.Slot = TSlot::Name;
      }
      break;
    case TRole::TrkSeg:
      if (NameIsAnyCase(name, "trkpt")) startPoint(TRole::TrkPt);
      break;
    case TRole::Wpt:
    case TRole::RtePt: StartPointChild(parent, name, true); break;
    case TRole::TrkPt: StartTrackPointChild(parent, name); break;
    case TRole::PointExtensions:
    case TRole::ListExtensions: StartExtension(parent.Role, LocalName(name)); break;
    case TRole::Ignored:
    case TRole::Value: break;
  }
  if (frame.Role == TRole::Value) {
    FCaptureDepth = FFrames.size();
    FCapture.clear();
  }
}

void TGpxParser::StartTrackPointChild(TFrame& point, std::string_view name) {
  const std::string_view local = LocalName(name);
  if (local == "extensions") {
    FFrames.back().Role = TRole::PointExtensions;
  } else if (local == "speed" || local == "course") {
    StartExtension(TRole::PointExtensions, local);  // GPX 1.0 has both in the point itself
  } else {
    StartPointChild(point, name, false);
  }
}

// An element inside extensions: a reading or a colour, or an element that may hold them.
void TGpxParser::StartExtension(TRole role, std::string_view local) {
  TFrame& frame = FFrames.back();
  frame.Role = role;
  if (role == TRole::PointExtensions) {
    if (const std::optional<TSensor> sensor = SensorNamed(local)) {
      frame.Role = TRole::Value;
      frame.Slot = TSlot::Sensor;
      frame.Sensor = *sensor;
    }
  } else if (FListColor.empty() && (local == "DisplayColor" || local == "color")) {
    frame.Role = TRole::Value;
    frame.Slot = local == "color" ? TSlot::ColorHex : TSlot::ColorName;
  }
}

void TGpxParser::EndSensor(TSensor sensor) {
  if (FMasked) UnmaskControls(FCapture);
  const std::string_view text = TrimXmlSpace(FCapture);
  // XML text cannot hold the 0 byte that ends a packed reading.
  if (!text.empty()) FTrackPoint.Sensors.Add(sensor, text);
}

void TGpxParser::StartElement(const XML_Char* rawName, const XML_Char** attributes) {
  FlushRun();
  if (FFrames.empty()) {
    const std::string_view name = rawName;
    FRootSeen = true;
    FFrames.emplace_back();
    BindNamespaces(attributes);
    if (NameIsAnyCase(name, "gpx"))
      FFrames.back().Role = TRole::Gpx;
    else
      FWrongRoot = name;
    return;
  }
  FFrames.back().HasChildNodes = true;
  if (FFrames.size() >= DepthLimit) {
    Refuse("elements are nested more than " + std::to_string(DepthLimit) + " deep");
    return;
  }
  const std::size_t parentIndex = FFrames.size() - 1;
  FFrames.emplace_back();
  BindNamespaces(attributes);
  if (FCaptureDepth != 0 || FFrames[parentIndex].Role == TRole::Ignored) return;
  StartChild(FFrames[parentIndex], rawName, attributes);
}

void TGpxParser::EndValue(TRole parent, TSlot slot) {
  if (FMasked) UnmaskControls(FCapture);
  if (parent == TRole::Rte || parent == TRole::Trk) {
    FListName = std::move(FCapture);
    return;
  }
  const bool trackPoint = parent == TRole::TrkPt;
  switch (slot) {
    // Route planners write <ele/> for points they have no height for; an empty third value in
    // a KML coordinate makes readers other than Google Earth drop or merge points.
    case TSlot::Ele:
      if (IsXmlSpace(FCapture)) break;
      if (trackPoint) {
        FTrackPoint.Alt = std::move(FCapture);
        FTrackPoint.HasEle = true;
      } else {
        FPoint->Alt = std::move(FCapture);
        FPoint->HasEle = true;
      }
      break;
    case TSlot::Time:
      (trackPoint ? FTrackPoint.Time : FPoint->Time) = Iso8601ToDateTimeZ(FCapture, FClock);
      break;
    case TSlot::Name: FPoint->Name = std::move(FCapture); break;
    case TSlot::Cmt: FPoint->Cmt = std::move(FCapture); break;
    case TSlot::Desc: FPoint->Desc = std::move(FCapture); break;
    case TSlot::Sym: FPoint->Sym = std::move(FCapture); break;
    case TSlot::Sensor: break;
    case TSlot::ColorName: FListColor = ColorFromName(FCapture); break;
    case TSlot::ColorHex: FListColor = ColorFromHex(FCapture); break;
    case TSlot::None: break;
  }
}

void TGpxParser::EndElement() {
  FlushRun();
  const TFrame frame = FFrames.back();
  if (FCaptureDepth == FFrames.size()) {
    FCaptureDepth = 0;
    if (frame.Slot == TSlot::Sensor)
      EndSensor(frame.Sensor);
    else
      EndValue(FFrames[FFrames.size() - 2].Role, frame.Slot);
  }
  while (!FBindings.empty() && FBindings.back().Depth == FFrames.size()) FBindings.pop_back();
  FFrames.pop_back();
  if (FCaptureDepth != 0) return;
  switch (frame.Role) {
    case TRole::Wpt:
      if (!frame.HasChildNodes) FWaypoint.Name = "<noname>";
      FEvents.Waypoint(FWaypoint);
      break;
    case TRole::RtePt:
      if (!frame.HasChildNodes) FRoutePoint.Name = "<noname>";
      FEvents.RoutePoint(FRoutePoint);
      break;
    case TRole::TrkPt: FEvents.TrackPoint(FTrackPoint); break;
    case TRole::TrkSeg: FEvents.SegmentEnd(frame.HasChildNodes); break;
    case TRole::Rte:
      if (!frame.HasChildNodes) FListName.clear();
      FEvents.RouteEnd(FListName, FListColor, frame.HasChildNodes);
      break;
    case TRole::Trk:
      if (!frame.HasChildNodes) FListName.clear();
      FEvents.TrackEnd(FListName, FListColor, frame.HasChildNodes);
      break;
    default: break;
  }
}

void TGpxParser::Characters(std::string_view text) {
  if (FFrames.empty()) return;
  if (FCaptureDepth != 0 && FCapture.size() + FRun.size() + text.size() > TokenLimit) {
    Refuse("a single text is longer than " + LimitText(TokenLimit));
    return;
  }
  if (FInCdata) {
    if (FCaptureDepth != 0) FCapture.append(text);
    return;
  }
  TFrame& top = FFrames.back();
  if (!top.HasChildNodes && !IsXmlSpace(text)) top.HasChildNodes = true;
  if (FCaptureDepth != 0) FRun.append(text);
}

// Text between two pieces of markup that is only white space is not a node of its own.
void TGpxParser::FlushRun() {
  if (FRun.empty()) return;
  if (!IsXmlSpace(FRun)) FCapture.append(FRun);
  FRun.clear();
}

void TGpxParser::Markup() {
  FlushRun();
  if (!FFrames.empty()) FFrames.back().HasChildNodes = true;
}

void TGpxParser::StartCdata() {
  Markup();
  FInCdata = true;
}

}  // namespace

TLoadOutcome ParseGpxText(TTextSource& source, TGpxEvents& events, THelperThreads helpers) {
  TGpxParser parser(events);
  return parser.Parse(source, helpers);
}

TLoadOutcome OpenFailure(const TTextOpenResult& opened) {
  const TLoadResult code =
      opened.Code == TTextOpen::EncodingNotSupported ? TLoadResult::EncodingNotSupported : TLoadResult::CannotOpen;
  return {code, opened.File, opened.Reason};
}

TLoadOutcome MemoryFailure(const TTextSource& source) {
  return {TLoadResult::OutOfMemory, source.Name(), {}};
}

}  // namespace tarvola::gps
