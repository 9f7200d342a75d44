#include "kml/kml_profile.h"

#include <array>
#include <charconv>
#include <utility>

namespace tarvola::kml {

namespace {

template <typename TValue, std::size_t N>
std::optional<TValue> Named(const std::array<std::pair<std::string_view, TValue>, N>& names,
                            std::string_view name) {
  for (const auto& [known, value] : names)
    if (known == name) return value;
  return std::nullopt;
}

template <typename TValue, std::size_t N>
std::string_view NameOf(const std::array<std::pair<std::string_view, TValue>, N>& names, TValue value) {
  for (const auto& [known, v] : names)
    if (v == value) return known;
  return {};
}

constexpr std::array<std::pair<std::string_view, TProfile>, 3> Profiles{{
    {"classic", TProfile::Classic}, {"earth", TProfile::Earth}, {"web", TProfile::Web}}};
constexpr std::array<std::pair<std::string_view, TAltitude>, 3> Altitudes{{
    {"clamp", TAltitude::Clamp}, {"relative", TAltitude::Relative}, {"absolute", TAltitude::Absolute}}};
constexpr std::array<std::pair<std::string_view, TUnits>, 2> Units{{
    {"metric", TUnits::Metric}, {"imperial", TUnits::Imperial}}};

}  // namespace

std::string_view ProfileName(TProfile profile) { return NameOf(Profiles, profile); }
std::optional<TProfile> ProfileNamed(std::string_view name) { return Named(Profiles, name); }
std::string_view AltitudeName(TAltitude altitude) { return NameOf(Altitudes, altitude); }
std::optional<TAltitude> AltitudeNamed(std::string_view name) { return Named(Altitudes, name); }
std::optional<TUnits> UnitsNamed(std::string_view name) { return Named(Units, name); }

bool IsLineWidth(std::string_view text) {
  double width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width,
                                            std::chars_format::fixed);
  return error == std::errc() && end == text.data() + text.size() && width > 0 && width <= 100;
}

}  // namespace tarvola::kml
