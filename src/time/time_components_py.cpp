// Python class TimeComponents.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include "binding/args.hpp"
#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "time/time_components.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

template <std::int32_t TimeComponents::*Field>
void def_int_field(nb::class_<TimeComponents>& cls, const char* name) {
  binding::def_prop_rw(
      cls, name, [](const TimeComponents& c) { return c.*Field; },
      [name](TimeComponents& c, const nb::int_& v) { c.*Field = binding::int32_arg(v, name); });
}

}  // namespace

void bind_time_components(nb::module_& m) {
  nb::class_<TimeComponents> cls(m, "TimeComponents",
                                 "A calendar breakdown of an instant, unchecked: any values can "
                                 "be stored and are handed on as they are.");
  cls.def(
      "__init__",
      [](TimeComponents* self, const nb::int_& year, const nb::int_& month, const nb::int_& day,
         const nb::int_& hour, const nb::int_& minute, double second) {
        new (self)
            TimeComponents{binding::int32_arg(year, "year"),     binding::int32_arg(month, "month"),
                           binding::int32_arg(day, "day"),       binding::int32_arg(hour, "hour"),
                           binding::int32_arg(minute, "minute"), second};
      },
      nb::arg("year"), nb::arg("month"), nb::arg("day"), nb::arg("hour"), nb::arg("minute"),
      nb::arg("second"));
  def_int_field<&TimeComponents::year>(cls, "year");
  def_int_field<&TimeComponents::month>(cls, "month");
  def_int_field<&TimeComponents::day>(cls, "day");
  def_int_field<&TimeComponents::hour>(cls, "hour");
  def_int_field<&TimeComponents::minute>(cls, "minute");
  binding::def_prop_rw(
      cls, "second", [](const TimeComponents& c) { return c.second; },
      [](TimeComponents& c, double v) { c.second = v; });
  cls.def(
      "to_iso", [](const TimeComponents& c) { return to_iso(c); },
      "The ISO 8601 text YYYY-MM-DDTHH:MM:SS.sss.");
  cls.def("__str__", [](const TimeComponents& c) { return to_iso(c); });
  cls.def("__repr__", [](const TimeComponents& c) { return repr(c); });
  cls.def_static(
      "from_iso",
      [](const std::string& iso) {
        auto c = from_iso(iso);
        if (!c) throw InternalError(c.error());
        return *c;
      },
      nb::arg("iso"), "Reads YYYY-MM-DDTHH:MM:SS[.sss][Z].");
  cls.def(
      "__eq__", [](const TimeComponents& a, const TimeComponents& b) { return a == b; },
      nb::is_operator());
  cls.def(
      "__ne__", [](const TimeComponents& a, const TimeComponents& b) { return a.differs_from(b); },
      nb::is_operator());
  binding::make_unhashable(cls);
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
