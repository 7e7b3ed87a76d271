#pragma once

#include "enums/enumeration.hpp"

namespace talvoran {

// How the engine's memory libraries issue keys: NoDuplicates refuses a record equal to one already
// held; DirectMemoryAccess gives every add a fresh key.
enum class SAALKeyMode : std::uint8_t { NoDuplicates = 0, DirectMemoryAccess = 1 };

template <>
struct EnumTraits<SAALKeyMode> {
  static constexpr std::string_view name = "SAALKeyMode";
  static constexpr std::array<EnumMember, 2> members{{
      {"NoDuplicates", 0, ""},
      {"DirectMemoryAccess", 1, ""},
  }};
};

}  // namespace talvoran
