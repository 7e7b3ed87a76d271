#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// Grade of an observation's association with a satellite.
enum class AssociationConfidence : std::uint8_t { High = 0, Medium = 1, Low = 2 };

template <>
struct EnumTraits<AssociationConfidence> {
  static constexpr std::string_view name = "AssociationConfidence";
  static constexpr std::array<EnumMember, 3> members{{
      {"High", 0, "High"},
      {"Medium", 1, "Medium"},
      {"Low", 2, "Low"},
  }};
};

}  // namespace talvoran
