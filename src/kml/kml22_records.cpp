#include "kml/kml22_records.h"

#include <charconv>
#include <cmath>

#include "gps/gpx_extensions.h"
#include "gps/iso8601.h"
#include "kml/kml_text.h"

namespace tarvola::kml {

namespace {

// Neither can be in escaped text: XML cannot carry the one, and line ends become references.
constexpr char FieldEnd = '\x1f';
constexpr char RecordEnd = '\n';
constexpr std::size_t RecordMemory = 256u << 10;

// Splits the text handed to it into records, a record's start kept when a piece ends inside it.
class TRecordSplitter : public TKmlSink {
public:
  explicit TRecordSplitter(const std::function<void(const TPointRecords::TRecord&)>& each) : FEach(each) {}

  void Write(std::string& text) override {
    FPartial.append(text);
    std::size_t start = 0;
    for (std::size_t end; (end = FPartial.find(RecordEnd, start)) != std::string::npos; start = end + 1)
      Split(std::string_view(FPartial).substr(start, end - start));
    FPartial.erase(0, start);
  }
  void Restart() override { FPartial.clear(); }

private:
  void Split(std::string_view line) {
    TPointRecords::TRecord record{};
    for (std::size_t field = 0; field < record.size(); ++field) {
      const std::size_t end = line.find(FieldEnd);
      record[field] = line.substr(0, end);
      line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
    }
    FEach(record);
  }

  const std::function<void(const TPointRecords::TRecord&)>& FEach;
  std::string FPartial;
};

}  // namespace

TPointRecords::TPointRecords(const std::filesystem::path& heldFolder) : FHeld(RecordMemory, heldFolder) {}

void TPointRecords::Clear() {
  FHeld.Clear();
  FText.clear();
  FCount = 0;
  FAllTimed = true;
  FAllHaveEle = true;
  FSensors = 0;
}

void TPointRecords::Add(std::string_view lat, std::string_view lon, std::string_view alt, bool hasEle,
                        const gps::TDateTimeZ& time, const gps::TSensorReadings* sensors) {
  const bool elevation = hasEle && IsNumber(alt);
  FAllTimed = FAllTimed && time.Exists;
  FAllHaveEle = FAllHaveEle && elevation;
  ++FCount;
  if (time.Exists) FText.append(gps::DateTimeZToXsd(time));
  FText.push_back(FieldEnd);
  AppendEscaped(FText, gps::TrimXmlSpace(lon));
  FText.push_back(FieldEnd);
  AppendEscaped(FText, gps::TrimXmlSpace(lat));
  FText.push_back(FieldEnd);
  AppendEscaped(FText, elevation ? gps::TrimXmlSpace(alt) : std::string_view("0"));
  std::array<std::optional<std::string_view>, gps::SensorCount> readings{};
  if (sensors != nullptr) {
    sensors->ForEach([&](gps::TSensor sensor, std::string_view text) { readings[std::size_t(sensor)] = text; });
  }
  for (std::size_t n = 0; n < readings.size(); ++n) {
    FText.push_back(FieldEnd);
    if (!readings[n]) continue;
    FSensors |= 1u << n;
    AppendEscaped(FText, *readings[n]);
  }
  FText.push_back(RecordEnd);
  if (FText.size() >= RecordMemory / 4) {
    FHeld.Write(FText);
    FText.clear();
  }
}

void TPointRecords::ForEach(const std::function<void(const TRecord&)>& each) {
  if (!FText.empty()) {
    FHeld.Write(FText);
    FText.clear();
  }
  TRecordSplitter splitter(each);
  std::string scratch;
  TKmlWriter reader(scratch);
  FHeld.CopyTo(reader, splitter, 0, FHeld.Size());
  reader.Drain(splitter);
}

bool IsNumber(std::string_view text) {
  text = gps::TrimXmlSpace(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace tarvola::kml
