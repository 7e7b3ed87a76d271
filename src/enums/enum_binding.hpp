// Python classes for the enumerations, and the casters that let bindings take and return the C++
// enum types directly (a TimeSystem parameter accepts only TimeSystem members).
//
// Behaviour of every enumeration class: members are class attributes created once; `value` is the
// code or the text of EnumTraits; int() gives the code; repr and str give "Enum.Member"; == and !=
// compare codes within one enumeration and return NotImplemented for anything else; no ordering;
// unhashable; no constructor.
#pragma once

#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include <string>

#include "binding/registration.hpp"
#include "enums/association_confidence.hpp"
#include "enums/classification.hpp"
#include "enums/covariance_type.hpp"
#include "enums/equinox_type.hpp"
#include "enums/geodetic_model.hpp"
#include "enums/keplerian_type.hpp"
#include "enums/reference_frame.hpp"
#include "enums/saal_key_mode.hpp"
#include "enums/time_system.hpp"

namespace talvoran {

// The Python-visible object of an enumeration member.
template <class E>
struct EnumBox {
  E value;
};

template <class E>
void bind_enum(nanobind::module_& m) {
  namespace nb = nanobind;
  using Box = EnumBox<E>;
  using Traits = EnumTraits<E>;
  const std::string name(Traits::name);

  nb::class_<Box> cls(m, name.c_str(), nb::type_slots(binding::no_constructor_slots()));
  constexpr bool value_is_text = !Traits::members[0].text.empty();
  cls.def_prop_ro(
      "value",
      [](const Box& b) -> nb::object {
        const EnumMember& mem = enum_member(b.value);
        if (mem.text.empty()) return nb::int_(mem.code);
        return nb::str(mem.text.data(), mem.text.size());
      },
      nb::for_getter(nb::sig(value_is_text ? "def value(self) -> str" : "def value(self) -> int")),
      value_is_text ? "The member's text." : "The member's integer code.");
  cls.def("__int__", [](const Box& b) { return static_cast<int>(b.value); });
  cls.def("__repr__", [](const Box& b) {
    return std::string(Traits::name) + "." + std::string(enum_name(b.value));
  });
  cls.def(
      "__eq__", [](const Box& a, const Box& b) { return a.value == b.value; }, nb::is_operator());
  cls.def(
      "__ne__", [](const Box& a, const Box& b) { return a.value != b.value; }, nb::is_operator());
  binding::make_unhashable(cls);
  for (const EnumMember& mem : Traits::members) {
    nb::setattr(cls, std::string(mem.name).c_str(), nb::cast(Box{static_cast<E>(mem.code)}));
  }
  binding::set_builtins_module(cls);
}

}  // namespace talvoran

namespace nanobind::detail {

template <class E>
struct enum_box_caster {
  using Box = talvoran::EnumBox<E>;
  NB_TYPE_CASTER(E, make_caster<Box>::Name)

  bool from_python(handle src, uint8_t flags, cleanup_list* cleanup) noexcept {
    make_caster<Box> box;
    if (!box.from_python(src, flags, cleanup)) return false;
    value = box.operator Box&().value;
    return true;
  }

  static handle from_cpp(E e, rv_policy, cleanup_list* cleanup) noexcept {
    return make_caster<Box>::from_cpp(Box{e}, rv_policy::move, cleanup);
  }
};

#define TALVORAN_ENUM_CASTER(E) \
  template <>                   \
  struct type_caster<talvoran::E> : enum_box_caster<talvoran::E> {}

TALVORAN_ENUM_CASTER(TimeSystem);
TALVORAN_ENUM_CASTER(ReferenceFrame);
TALVORAN_ENUM_CASTER(KeplerianType);
TALVORAN_ENUM_CASTER(GeodeticModel);
TALVORAN_ENUM_CASTER(Classification);
TALVORAN_ENUM_CASTER(EquinoxType);
TALVORAN_ENUM_CASTER(CovarianceType);
TALVORAN_ENUM_CASTER(AssociationConfidence);
TALVORAN_ENUM_CASTER(SAALKeyMode);

#undef TALVORAN_ENUM_CASTER

}  // namespace nanobind::detail
