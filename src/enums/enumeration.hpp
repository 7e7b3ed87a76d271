// The shape shared by the module's enumerations: a closed set of members, each with a fixed
// integer code (several are the engine's own codes) and a `value` that is either that code or a
// short text. Each enumeration specialises EnumTraits in its own header.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace talvoran {

struct EnumMember {
  std::string_view name;  // attribute name, e.g. "UTC"
  std::uint8_t code;      // integer code, e.g. 0
  std::string_view text;  // the `value` when it is text; empty when `value` is the code
};

template <class E>
struct EnumTraits;  // name (std::string_view) and members (std::array<EnumMember, N>)

// The member of E with this code; the code must be one of E's.
template <class E>
constexpr const EnumMember& enum_member(E e) {
  for (const EnumMember& m : EnumTraits<E>::members) {
    if (m.code == static_cast<std::uint8_t>(e)) return m;
  }
  return EnumTraits<E>::members[0];  // unreachable for a valid E
}

template <class E>
constexpr std::string_view enum_name(E e) {
  return enum_member(e).name;
}

}  // namespace talvoran
