#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Security classification of an element set; `value` is the letter written in a TLE.
enum class Classification : std::uint8_t { Unclassified = 1, Confidential = 2, Secret = 3 };

template <>
struct EnumTraits<Classification> {
  static constexpr std::string_view name = "Classification";
  static constexpr std::array<EnumMember, 3> members{{
      {"Unclassified", 1, "U"},
      {"Confidential", 2, "C"},
      {"Secret", 3, "S"},
  }};
};

}  // namespace talvoran
