#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Space in which a covariance is expressed.
enum class CovarianceType : std::uint8_t { Inertial = 0, Relative = 1, Equinoctial = 2 };

template <>
struct EnumTraits<CovarianceType> {
  static constexpr std::string_view name = "CovarianceType";
  static constexpr std::array<EnumMember, 3> members{{
      {"Inertial", 0, "Inertial"},
      {"Relative", 1, "Relative"},
      {"Equinoctial", 2, "Equinoctial"},
  }};
};

}  // namespace talvoran
