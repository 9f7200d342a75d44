#include "kml_text.h"

#include <charconv>
#include <system_error>

namespace tarvola::kml {

std::string DescriptionOf(std::string_view desc, std::string_view cmt) {
  std::string result(desc);
  if (desc == cmt || cmt.empty()) return result;
  if (!result.empty()) result.append(" - ");
  result.append(cmt);
  return result;
}

bool IsDegrees(std::string_view text, double limit) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  text = text.substr(first, text.find_last_not_of(" \t\r\n") + 1 - first);
  if (text[0] == '+') text.remove_prefix(1);  // which from_chars does not take
  std::size_t digits = 0, points = 0;
  for (std::size_t i = text.empty() || text[0] != '-' ? 0 : 1; i < text.size(); ++i) {
    if (text[i] == '.')
      ++points;
    else if (text[i] >= '0' && text[i] <= '9')
      ++digits;
    else
      return false;
  }
  if (digits == 0 || points > 1) return false;
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && value >= -limit && value <= limit;
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
