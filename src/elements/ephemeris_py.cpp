// Python class Ephemeris: a handle to a shared table of TEME states.
#include <nanobind/nanobind.h>
#include <nanobind/stl/optional.h>
#include <nanobind/stl/string.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/ephemeris.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_ephemeris(nb::module_& m) {
  nb::class_<Ephemeris> cls(
      m, "Ephemeris",
      "A time-ordered table of TEME states of one body, interpolated between neighbouring entries "
      "by cubic Hermite interpolation. Every handle to a table shares it.");
  cls.def(
      "__init__",
      [](Ephemeris* self, std::string satellite_id, std::optional<std::int32_t> norad_id,
         const CartesianState& state) {
        new (self) Ephemeris{new_ephemeris(std::move(satellite_id), norad_id, state)};
      },
      nb::arg("satellite_id"), nb::arg("norad_id").none(), nb::arg("state"),
      "A table holding `state` converted to TEME. Without a NORAD number (None) the table "
      "reports 99999.");
  cls.def_prop_ro(
      "id", [](const Ephemeris& e) { return e.body->id(); },
      "Version-4 UUID made when the table was created.");
  cls.def_prop_ro(
      "satellite_id", [](const Ephemeris& e) { return e.body->satellite_id(); },
      "Identifier of the body whose states these are.");
  cls.def_prop_ro("norad_id", [](const Ephemeris& e) { return e.body->norad_id(); });
  cls.def_prop_ro(
      "number_of_states", [](const Ephemeris& e) { return e.body->number_of_states(); },
      "The length of the table.");
  cls.def(
      "get_state_at_epoch",
      [](const Ephemeris& e, const Epoch& epoch) { return e.body->state_at(epoch); },
      nb::arg("epoch"),
      "The TEME state at `epoch`: a table entry unchanged when `epoch` is within 1e-10 day of it "
      "or outside the table's span (no extrapolation), else the Hermite interpolation between the "
      "neighbouring entries. Day counts are compared as they stand, whatever their time systems.");
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
