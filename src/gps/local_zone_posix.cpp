#include <ctime>

#include "gps/iso8601.h"

namespace tarvola::gps {

std::int16_t LocalZoneOffset() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return 0;
  return static_cast<std::int16_t>(local.tm_gmtoff / 60);
}

}  // namespace tarvola::gps
