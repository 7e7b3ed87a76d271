// Python classes ForceProperties, InertialPropagator and SGP4Output, and the B* conversions.
#include <nanobind/nanobind.h>
#include <nanobind/stl/optional.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "enums/enum_binding.hpp"
#include "propagation/force_properties.hpp"
#include "propagation/inertial_propagator.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

// The four views of one SGP4 result. No operation of the system builds one yet; the class is
// published for the records that will.
struct SGP4Output {
  KeplerianElements mean_elements;
  KeplerianElements osculating_elements;
  GeodeticPosition geodetic_position;
  CartesianState cartesian_state;
};

template <double ForceProperties::*Field>
void def_force_field(nb::class_<ForceProperties>& cls, const char* name, bool readable = true) {
  auto setter = [](ForceProperties& f, double v) { f.*Field = v; };
  if (readable) {
    binding::def_prop_rw(
        cls, name, [](const ForceProperties& f) { return f.*Field; }, setter);
  } else {
    binding::def_prop_wo(cls, name, setter);
  }
}

}  // namespace

void bind_force_properties(nb::module_& m) {
  nb::class_<ForceProperties> cls(m, "ForceProperties",
                                  "Radiation pressure, drag and mass terms, and the mean-motion "
                                  "derivatives of an element set.");
  cls.def(nb::init<double, double, double, double, double, double, double>(),
          nb::arg("srp_coefficient"), nb::arg("srp_area"), nb::arg("drag_coefficient"),
          nb::arg("drag_area"), nb::arg("mass"), nb::arg("mean_motion_dot"),
          nb::arg("mean_motion_dot_dot"));
  def_force_field<&ForceProperties::srp_coefficient>(cls, "srp_coefficient");
  def_force_field<&ForceProperties::srp_area>(cls, "srp_area", /*readable=*/false);
  def_force_field<&ForceProperties::drag_coefficient>(cls, "drag_coefficient");
  def_force_field<&ForceProperties::drag_area>(cls, "drag_area");
  def_force_field<&ForceProperties::mass>(cls, "mass");
  def_force_field<&ForceProperties::mean_motion_dot>(cls, "mean_motion_dot");
  def_force_field<&ForceProperties::mean_motion_dot_dot>(cls, "mean_motion_dot_dot");
  cls.def_prop_ro("srp_term", &ForceProperties::srp_term, "srp_area / mass * srp_coefficient");
  cls.def_prop_ro("drag_term", &ForceProperties::drag_term, "drag_area / mass * drag_coefficient");
  cls.def_prop_ro("b_star", &ForceProperties::b_star, "drag_term / 12.741621");
  binding::set_builtins_module(cls);
}

void bind_inertial_propagator(nb::module_& m) {
  nb::class_<InertialPropagator> cls(m, "InertialPropagator",
                                     nb::type_slots(binding::no_constructor_slots()),
                                     "SGP4 propagation of one element set.");
  cls.def_static(
      "from_tle", [](const TLE& tle) { return InertialPropagator(TLE(tle)); }, nb::arg("tle"),
      "A propagator of a copy of `tle`.");
  cls.def("get_cartesian_state_at_epoch", &InertialPropagator::cartesian_state_at, nb::arg("epoch"),
          "TEME state at `epoch`, or None when SGP4 fails there.");
  cls.def("get_keplerian_state_at_epoch", &InertialPropagator::keplerian_state_at, nb::arg("epoch"),
          "SGP4 mean elements at `epoch`, or None when SGP4 fails there.");
  cls.def_prop_ro("keplerian_state", &InertialPropagator::keplerian_state);
  cls.def_prop_ro("force_properties",
                  [](const InertialPropagator& p) { return p.force_properties(); });
  binding::set_builtins_module(cls);
}

void bind_sgp4_output(nb::module_& m) {
  nb::class_<SGP4Output> cls(m, "SGP4Output", nb::type_slots(binding::no_constructor_slots()),
                             "The mean and osculating elements, geodetic position and TEME state "
                             "of one SGP4 result.");
  cls.def_prop_ro("mean_elements", [](const SGP4Output& o) { return o.mean_elements; });
  cls.def_prop_ro("osculating_elements", [](const SGP4Output& o) { return o.osculating_elements; });
  cls.def_prop_ro("geodetic_position", [](const SGP4Output& o) { return o.geodetic_position; });
  cls.def_prop_ro("cartesian_state", [](const SGP4Output& o) { return o.cartesian_state; });
  binding::set_builtins_module(cls);
}

void fill_propagation(nb::module_& m) {
  bind_force_properties(m);
  bind_inertial_propagator(m);
  bind_sgp4_output(m);
  m.def(
      "b_star_to_drag_coefficient", [](double b_star) { return b_star * kBStarToDragTerm; },
      nb::arg("b_star"), "The drag term of a B*: b_star * 12.741621.");
  m.def(
      "drag_coefficient_to_b_star",
      [](double drag_coefficient) { return drag_coefficient / kBStarToDragTerm; },
      nb::arg("drag_coefficient"), "The B* of a drag term: drag_coefficient / 12.741621.");
}

}  // namespace talvoran
