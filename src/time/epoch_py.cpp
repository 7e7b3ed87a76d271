// Python class Epoch.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "enums/enum_binding.hpp"
#include "time/epoch.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

// Conversions a caller asks for fail with RuntimeError; conversions an operation needs
// internally (Greenwich angles, differences) are internal failures.
template <class T>
T value_or_internal_error(std::expected<T, std::string> r) {
  if (!r) throw InternalError(r.error());
  return *r;
}

}  // namespace

void bind_epoch(nb::module_& m) {
  nb::class_<Epoch> cls(m, "Epoch", nb::type_slots(binding::no_constructor_slots()),
                        "An instant: a day count since 1950 and the time system it is in.");
  cls.def_static(
      "from_days_since_1950",
      [](double ds50, TimeSystem system) {
        return Epoch{ds50, system};
      },
      nb::arg("days_since_1950"), nb::arg("time_system"));
  cls.def_static(
      "from_iso",
      [](const std::string& iso, TimeSystem system) {
        return value_or_internal_error(Epoch::from_iso(iso, system));
      },
      nb::arg("iso"), nb::arg("time_system"));
  cls.def_static(
      "from_dtg",
      [](const std::string& dtg, TimeSystem system) { return Epoch::from_dtg(dtg, system); },
      nb::arg("dtg"), nb::arg("time_system"));
  cls.def_static("from_time_components", &Epoch::from_time_components, nb::arg("components"),
                 nb::arg("time_system"));
  cls.def_prop_ro("days_since_1950", [](const Epoch& e) { return e.days_since_1950; });
  cls.def_prop_ro("time_system", [](const Epoch& e) { return e.time_system; });
  cls.def_prop_ro("day_of_year", &Epoch::day_of_year);
  cls.def(
      "to_system",
      [](const Epoch& e, TimeSystem target) {
        auto r = e.to_system(target);
        if (!r) throw std::runtime_error(r.error());
        return *r;
      },
      nb::arg("time_system"));
  cls.def("to_time_components", &Epoch::to_time_components);
  cls.def("to_iso", &Epoch::to_iso);
  cls.def("to_dtg_15", &Epoch::to_dtg_15);
  cls.def("to_dtg_17", &Epoch::to_dtg_17);
  cls.def("to_dtg_19", &Epoch::to_dtg_19);
  cls.def("to_dtg_20", &Epoch::to_dtg_20);
  cls.def("to_fk4_greenwich_angle",
          [](const Epoch& e) { return value_or_internal_error(e.fk4_greenwich_angle()); });
  cls.def("to_fk5_greenwich_angle",
          [](const Epoch& e) { return value_or_internal_error(e.fk5_greenwich_angle()); });

  cls.def(
      "__add__", [](const Epoch& a, const TimeSpan& s) { return a + s; }, nb::is_operator());
  cls.def(
      "__sub__", [](const Epoch& a, const TimeSpan& s) { return a - s; }, nb::is_operator());
  cls.def(
      "__sub__", [](const Epoch& a, const Epoch& b) { return value_or_internal_error(a.minus(b)); },
      nb::is_operator());
  cls.def(
      "__sub__",
      [](const Epoch&, nb::handle) -> nb::object {
        throw nb::type_error("Unsupported operand type for -");
      },
      nb::is_operator());
  // Equality needs the same count and system; inequality and the orderings look at the counts
  // alone, with no conversion and no tolerance.
  cls.def(
      "__eq__",
      [](const Epoch& a, const Epoch& b) {
        return a.days_since_1950 == b.days_since_1950 && a.time_system == b.time_system;
      },
      nb::is_operator());
  cls.def(
      "__ne__",
      [](const Epoch& a, const Epoch& b) { return a.days_since_1950 != b.days_since_1950; },
      nb::is_operator());
  cls.def(
      "__lt__",
      [](const Epoch& a, const Epoch& b) { return a.days_since_1950 < b.days_since_1950; },
      nb::is_operator());
  cls.def(
      "__le__",
      [](const Epoch& a, const Epoch& b) { return a.days_since_1950 <= b.days_since_1950; },
      nb::is_operator());
  cls.def(
      "__gt__",
      [](const Epoch& a, const Epoch& b) { return a.days_since_1950 > b.days_since_1950; },
      nb::is_operator());
  cls.def(
      "__ge__",
      [](const Epoch& a, const Epoch& b) { return a.days_since_1950 >= b.days_since_1950; },
      nb::is_operator());
  binding::make_unhashable(cls);
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
