#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Earth model, coded by its conventional year (the engine's Earth-model codes).
enum class GeodeticModel : std::uint8_t { WGS72 = 72, WGS84 = 84, EGM96 = 96 };

template <>
struct EnumTraits<GeodeticModel> {
  static constexpr std::string_view name = "GeodeticModel";
  static constexpr std::array<EnumMember, 3> members{{
      {"WGS72", 72, ""},
      {"WGS84", 84, ""},
      {"EGM96", 96, ""},
  }};
};

}  // namespace talvoran
