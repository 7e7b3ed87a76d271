// Python classes CartesianState, KeplerianElements, KeplerianState, EquinoctialElements.
#include <nanobind/nanobind.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/cartesian_state.hpp"
#include "elements/keplerian_state.hpp"
#include "enums/enum_binding.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_cartesian_state(nb::module_& m) {
  nb::class_<CartesianState> cls(m, "CartesianState",
                                 "Position (km) and velocity (km/s) at an epoch in a frame.");
  cls.def(
      "__init__",
      [](CartesianState* self, const Epoch& epoch, const CartesianVector& position,
         const CartesianVector& velocity, ReferenceFrame frame) {
        new (self) CartesianState{epoch, position, velocity, frame};
      },
      nb::arg("epoch"), nb::arg("position"), nb::arg("velocity"), nb::arg("frame"));
  cls.def_prop_ro("epoch", [](const CartesianState& s) { return s.epoch; });
  cls.def_prop_ro("position", [](const CartesianState& s) { return s.position; });
  cls.def_prop_ro("velocity", [](const CartesianState& s) { return s.velocity; });
  cls.def("get_frame", [](const CartesianState& s) { return s.frame; });
  cls.def("to_frame", &CartesianState::to_frame, nb::arg("frame"));
  cls.def("to_keplerian", &CartesianState::to_keplerian);
  binding::set_builtins_module(cls);
}

namespace {

template <double KeplerianElements::*Field>
void def_element(nb::class_<KeplerianElements>& cls, const char* name) {
  binding::def_prop_rw(
      cls, name, [](const KeplerianElements& k) { return k.*Field; },
      [](KeplerianElements& k, double v) { k.*Field = v; });
}

template <double KeplerianElements::*Field>
void def_state_element(nb::class_<KeplerianState>& cls, const char* name) {
  cls.def_prop_ro(name, [](const KeplerianState& s) { return s.elements.*Field; });
}

}  // namespace

void bind_keplerian_elements(nb::module_& m) {
  nb::class_<KeplerianElements> cls(
      m, "KeplerianElements",
      "Semi-major axis (km), eccentricity, inclination, RAAN, argument of perigee and mean "
      "anomaly (degrees).");
  cls.def(nb::init<double, double, double, double, double, double>(), nb::arg("semi_major_axis"),
          nb::arg("eccentricity"), nb::arg("inclination"), nb::arg("raan"),
          nb::arg("argument_of_perigee"), nb::arg("mean_anomaly"));
  def_element<&KeplerianElements::semi_major_axis>(cls, "semi_major_axis");
  def_element<&KeplerianElements::eccentricity>(cls, "eccentricity");
  def_element<&KeplerianElements::inclination>(cls, "inclination");
  def_element<&KeplerianElements::raan>(cls, "raan");
  def_element<&KeplerianElements::argument_of_perigee>(cls, "argument_of_perigee");
  def_element<&KeplerianElements::mean_anomaly>(cls, "mean_anomaly");
  cls.def_prop_ro("apoapsis", &KeplerianElements::apoapsis, "Apoapsis radius, km.");
  cls.def_prop_ro("periapsis", &KeplerianElements::periapsis, "Periapsis radius, km.");
  cls.def("get_mean_motion", &KeplerianElements::mean_motion, nb::arg("element_type"),
          "Mean motion, revolutions per day, in the theory of `element_type`.");
  cls.def("to_equinoctial", &KeplerianElements::to_equinoctial);
  binding::set_builtins_module(cls);
}

void bind_keplerian_state(nb::module_& m) {
  nb::class_<KeplerianState> cls(m, "KeplerianState",
                                 "Keplerian elements at an epoch, in a frame, of a theory.");
  cls.def(
      "__init__",
      [](KeplerianState* self, const Epoch& epoch, const KeplerianElements& elements,
         ReferenceFrame frame, KeplerianType type) {
        new (self) KeplerianState{epoch, elements, frame, type};
      },
      nb::arg("epoch"), nb::arg("elements"), nb::arg("frame"), nb::arg("keplerian_type"));
  def_state_element<&KeplerianElements::semi_major_axis>(cls, "semi_major_axis");
  def_state_element<&KeplerianElements::eccentricity>(cls, "eccentricity");
  def_state_element<&KeplerianElements::inclination>(cls, "inclination");
  def_state_element<&KeplerianElements::raan>(cls, "raan");
  def_state_element<&KeplerianElements::argument_of_perigee>(cls, "argument_of_perigee");
  def_state_element<&KeplerianElements::mean_anomaly>(cls, "mean_anomaly");
  cls.def_prop_ro("apoapsis", [](const KeplerianState& s) { return s.elements.apoapsis(); });
  cls.def_prop_ro("periapsis", [](const KeplerianState& s) { return s.elements.periapsis(); });
  cls.def_prop_ro("mean_motion",
                  [](const KeplerianState& s) { return s.elements.mean_motion(s.type); });
  cls.def_prop_ro("frame", [](const KeplerianState& s) { return s.frame; });
  binding::def_prop_rw(
      cls, "epoch", [](const KeplerianState& s) { return s.epoch; },
      [](KeplerianState& s, const Epoch& e) { s.epoch = e; });
  binding::def_prop_rw(
      cls, "type", [](const KeplerianState& s) { return s.type; },
      [](KeplerianState& s, KeplerianType t) { s.type = t; });
  cls.def("to_cartesian", &KeplerianState::to_cartesian);
  cls.def("to_frame", &KeplerianState::to_frame, nb::arg("frame"));
  binding::set_builtins_module(cls);
}

void bind_equinoctial_elements(nb::module_& m) {
  nb::class_<EquinoctialElements> cls(m, "EquinoctialElements",
                                      "Equinoctial elements a_f, a_g, chi, psi, mean longitude "
                                      "(degrees) and mean motion (revolutions per day).");
  cls.def(nb::init<double, double, double, double, double, double>(), nb::arg("a_f"),
          nb::arg("a_g"), nb::arg("chi"), nb::arg("psi"), nb::arg("mean_longitude"),
          nb::arg("mean_motion"));
  cls.def_prop_ro("mean_motion", [](const EquinoctialElements& e) { return e.mean_motion; });
  cls.def("to_keplerian", &EquinoctialElements::to_keplerian);
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
