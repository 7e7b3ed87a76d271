// Python class TLE.
#include <nanobind/nanobind.h>
#include <nanobind/stl/optional.h>
#include <nanobind/stl/pair.h>
#include <nanobind/stl/string.h>

#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/tle.hpp"
#include "enums/enum_binding.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

TLE read_or_raise(std::expected<TLE, TleReadError> t) {
  if (!t) {
    if (t.error().kind == TleReadError::Kind::Load)
      throw nb::value_error(t.error().message.c_str());
    throw InternalError(t.error().message);
  }
  return *std::move(t);
}

template <double KeplerianElements::*Field>
void def_element(nb::class_<TLE>& cls, const char* name) {
  cls.def_prop_ro(name, [](const TLE& t) { return t.elements.*Field; });
}

}  // namespace

void bind_tle(nb::module_& m) {
  nb::class_<TLE> cls(m, "TLE", nb::type_slots(binding::no_constructor_slots()),
                      "A two-line element set, loaded in the engine for as long as it lives.");
  cls.def_static(
      "from_lines",
      [](const std::string& line_1, const std::string& line_2,
         const std::optional<std::string>& line_3) {
        if (line_3) return read_or_raise(TLE::from_lines(line_1, line_2, *line_3));
        return read_or_raise(TLE::from_lines(line_1, line_2));
      },
      nb::arg("line_1"), nb::arg("line_2"), nb::arg("line_3") = nb::none(),
      "Reads two element lines, or a name line and two element lines.");
  cls.def_prop_ro("id", [](const TLE& t) { return t.id; });
  cls.def_prop_ro("name", [](const TLE& t) { return t.name; });
  cls.def_prop_ro("designator", [](const TLE& t) { return t.designator; });
  cls.def_prop_ro("norad_id", [](const TLE& t) { return t.norad_id; });
  cls.def_prop_ro("classification", [](const TLE& t) { return t.classification; });
  cls.def_prop_ro("type", [](const TLE& t) { return t.type; });
  cls.def_prop_ro("epoch", [](const TLE& t) { return t.epoch; });
  def_element<&KeplerianElements::semi_major_axis>(cls, "semi_major_axis");
  def_element<&KeplerianElements::eccentricity>(cls, "eccentricity");
  def_element<&KeplerianElements::inclination>(cls, "inclination");
  def_element<&KeplerianElements::raan>(cls, "raan");
  def_element<&KeplerianElements::argument_of_perigee>(cls, "argument_of_perigee");
  def_element<&KeplerianElements::mean_anomaly>(cls, "mean_anomaly");
  cls.def_prop_ro("mean_motion", &TLE::mean_motion, "Revolutions per day.");
  cls.def_prop_ro("mean_motion_dot",
                  [](const TLE& t) { return t.force_properties.mean_motion_dot; });
  cls.def_prop_ro("mean_motion_dot_dot",
                  [](const TLE& t) { return t.force_properties.mean_motion_dot_dot; });
  cls.def_prop_ro("b_term", [](const TLE& t) { return t.force_properties.drag_term(); });
  cls.def_prop_ro("b_star", [](const TLE& t) { return t.force_properties.b_star(); });
  cls.def_prop_ro("agom", [](const TLE& t) { return t.force_properties.srp_term(); });
  cls.def_prop_ro("cartesian_state", &TLE::cartesian_state);
  cls.def_prop_ro("lines", &TLE::lines, "The two element lines, with check sums.");
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
