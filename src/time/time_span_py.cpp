// Python class TimeSpan.
#include <nanobind/nanobind.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "time/time_span.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_time_span(nb::module_& m) {
  nb::class_<TimeSpan> cls(m, "TimeSpan", nb::type_slots(binding::no_constructor_slots()),
                           "A duration, held in days (negative allowed).");
  cls.def_static("from_days", &TimeSpan::from_days, nb::arg("days"));
  cls.def_static("from_hours", &TimeSpan::from_hours, nb::arg("hours"));
  cls.def_static("from_minutes", &TimeSpan::from_minutes, nb::arg("minutes"));
  cls.def_static("from_seconds", &TimeSpan::from_seconds, nb::arg("seconds"));
  cls.def("in_days", &TimeSpan::in_days);
  cls.def("in_hours", &TimeSpan::in_hours);
  cls.def("in_minutes", &TimeSpan::in_minutes);
  cls.def("in_seconds", &TimeSpan::in_seconds);
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
