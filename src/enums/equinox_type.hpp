#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// The engine's year-of-equinox selector: 1 the equinox of date, 2 that of J2000.
enum class EquinoxType : std::uint8_t { MeanOfDate = 1, J2000 = 2 };

template <>
struct EnumTraits<EquinoxType> {
  static constexpr std::string_view name = "EquinoxType";
  static constexpr std::array<EnumMember, 2> members{{
      {"MeanOfDate", 1, ""},
      {"J2000", 2, ""},
  }};
};

}  // namespace talvoran
