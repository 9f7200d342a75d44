#include "kml_text.h"

#include <algorithm>

namespace tarvola::kml {

std::string DescriptionOf(std::string_view desc, std::string_view cmt) {
  std::string result(desc);
  if (desc == cmt || cmt.empty()) return result;
  if (!result.empty()) result.append(" - ");
  result.append(cmt);
  return result;
}

// Read by hand, as it runs for every point: the whole degrees decide, and at the limit itself
// only zeros may follow.
bool IsDegrees(std::string_view text, int limit) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
  std::size_t at = text[0] == '-' || text[0] == '+' ? 1 : 0;
  int whole = 0;
  std::size_t digits = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
    whole = std::min(whole * 10 + (text[at] - '0'), 1000);
  }
  bool fractionZero = true;
  if (at < text.size() && text[at] == '.') {
    for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
      fractionZero = fractionZero && text[at] == '0';
    }
  }
  if (at != text.size() || digits == 0) return false;
  return whole < limit || (whole == limit && fractionZero);
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
