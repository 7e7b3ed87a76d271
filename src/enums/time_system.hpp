#pragma once

#include <string_view>

#include "enums/enumeration.hpp"

namespace talvoran {

// Time scale of an epoch.
enum class TimeSystem : std::uint8_t { UTC = 0, TAI = 1, UT1 = 2, TT = 3 };

template <>
struct EnumTraits<TimeSystem> {
  static constexpr std::string_view name = "TimeSystem";
  static constexpr std::array<EnumMember, 4> members{{
      {"UTC", 0, "UTC"},
      {"TAI", 1, "TAI"},
      {"UT1", 2, "UT1"},
      {"TT", 3, "TT"},
  }};
};

// The name used in messages ("UTC", "TAI", "UT1", "TT").
constexpr std::string_view display_name(TimeSystem s) { return enum_member(s).text; }

}  // namespace talvoran
