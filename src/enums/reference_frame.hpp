#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Frame of a Cartesian state: TEME (SGP4's true equator, mean equinox), EFG (Earth-fixed without
// polar motion), ECR (Earth-fixed with polar motion) and J2000 (mean equator and equinox of J2000).
enum class ReferenceFrame : std::uint8_t { TEME = 0, EFG = 1, ECR = 2, J2000 = 3 };

template <>
struct EnumTraits<ReferenceFrame> {
  static constexpr std::string_view name = "ReferenceFrame";
  static constexpr std::array<EnumMember, 4> members{{
      {"TEME", 0, "TEME"},
      {"EFG", 1, "EFG"},
      {"ECR", 2, "ECR"},
      {"J2000", 3, "J2000"},
  }};
};

}  // namespace talvoran
