#include "kml_text.h"

namespace tarvola::kml {

std::string DescriptionOf(std::string_view desc, std::string_view cmt) {
  std::string result(desc);
  if (desc == cmt || cmt.empty()) return result;
  if (!result.empty()) result.append(" - ");
  result.append(cmt);
  return result;
}

std::string TimeText(const gps::TDateTimeZ& value) { return gps::DateTimeZToIso8601(value); }

void TTimeSpan::Add(const gps::TDateTimeZ& value) {
  if (!value.Exists) return;
  if (!FBegin) {
    FBegin = value;
    FEnd = value;
    return;
  }
  if (value.DateTime < FBegin->DateTime) FBegin = value;
  if (value.DateTime > FEnd->DateTime) FEnd = value;
}

void WriteTimeSpan(TKmlWriter& writer, const TTimeSpan& span) {
  if (span.Empty()) return;
  writer.Open("TimeSpan");
  writer.Text("begin", TimeText(span.Begin()));
  writer.Text("end", TimeText(span.End()));
  writer.Close();
}

}  // namespace tarvola::kml
