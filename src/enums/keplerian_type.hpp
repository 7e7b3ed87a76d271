#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Element theory of a TLE, as the engine's ephemeris-type code: 0 SGP (Kozai mean motion),
// 2 SGP4 (Brouwer), 4 SGP4-XP (Brouwer), 6 SP (osculating).
enum class KeplerianType : std::uint8_t {
  MeanKozaiGP = 0,
  MeanBrouwerGP = 2,
  MeanBrouwerXP = 4,
  Osculating = 6
};

template <>
struct EnumTraits<KeplerianType> {
  static constexpr std::string_view name = "KeplerianType";
  static constexpr std::array<EnumMember, 4> members{{
      {"MeanKozaiGP", 0, ""},
      {"MeanBrouwerGP", 2, ""},
      {"MeanBrouwerXP", 4, ""},
      {"Osculating", 6, ""},
  }};
};

}  // namespace talvoran
