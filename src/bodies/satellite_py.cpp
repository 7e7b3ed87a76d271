// Python class Satellite. Readers hold the satellite shared and methods that change it hold it
// exclusively, each for the whole call (the "Already borrowed" guard).
#include <nanobind/nanobind.h>
#include <nanobind/stl/optional.h>
#include <nanobind/stl/string.h>

#include "binding/args.hpp"
#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "bodies/satellite.hpp"
#include "elements/ephemeris.hpp"
#include "enums/enum_binding.hpp"
#include "time/time_span.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_satellite(nb::module_& m) {
  nb::class_<Satellite> cls(m, "Satellite",
                            "A satellite: identity, orbit state, force properties and its SGP4 "
                            "propagator.");
  cls.def(nb::init<>(), "A new satellite with no state and catalogue number 99999.");
  cls.def_static(
      "from_tle", [](const TLE& tle) { return Satellite::from_tle(TLE(tle)); }, nb::arg("tle"),
      "A satellite propagating a copy of `tle`, with its id, name and catalogue number.");
  binding::def_prop_rw(
      cls, "id",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.id;
      },
      [](Satellite& s, std::string v) {
        auto g = s.borrow.borrow_mut();
        s.id = std::move(v);
      });
  binding::def_prop_rw(
      cls, "name",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.name;
      },
      [](Satellite& s, std::optional<std::string> v) {
        auto g = s.borrow.borrow_mut();
        s.name = std::move(v);
      });
  binding::def_prop_rw(
      cls, "norad_id",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.norad_id;
      },
      [](Satellite& s, const nb::int_& v) {
        const std::int32_t n = binding::int32_arg(v, "norad_id");
        auto g = s.borrow.borrow_mut();
        s.norad_id = n;
      });
  binding::def_prop_rw(
      cls, "keplerian_state",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.keplerian_state;
      },
      [](Satellite& s, const KeplerianState& state) {
        auto g = s.borrow.borrow_mut();
        if (auto r = s.set_keplerian_state(state); !r) throw nb::value_error(r.error().c_str());
      });
  binding::def_prop_rw(
      cls, "force_properties",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.force_properties;
      },
      [](Satellite& s, const ForceProperties& f) {
        auto g = s.borrow.borrow_mut();
        s.set_force_properties(f);
      });
  cls.def_prop_ro(
      "periapsis",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.periapsis();
      },
      "Periapsis radius (km) of the state, or None without one.");
  cls.def_prop_ro(
      "apoapsis",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        return s.apoapsis();
      },
      "Apoapsis radius (km) of the state, or None without one.");
  cls.def(
      "get_state_at_epoch",
      [](const Satellite& s, const Epoch& epoch) {
        auto g = s.borrow.borrow();
        return s.state_at(epoch);
      },
      nb::arg("epoch"), "TEME state at `epoch`, or None without a propagator or on failure.");
  cls.def(
      "step_to_epoch",
      [](Satellite& s, const Epoch& epoch) {
        auto g = s.borrow.borrow_mut();
        if (auto r = s.step_to_epoch(epoch); !r) throw nb::value_error(r.error().c_str());
      },
      nb::arg("epoch"), "Moves the satellite's element set to `epoch` (re-epoching the TLE).");
  cls.def(
      "to_tle",
      [](const Satellite& s) {
        auto g = s.borrow.borrow();
        auto tle = s.to_tle();
        if (!tle) throw nb::value_error(tle.error().c_str());
        return *std::move(tle);
      },
      "The satellite's state as a TLE, or None without a state.");
  cls.def(
      "get_ephemeris",
      [](Satellite& s, const Epoch& start_epoch, const Epoch& end_epoch,
         const TimeSpan& step) -> std::optional<Ephemeris> {
        auto g = s.borrow.borrow_mut();
        auto eph = s.get_ephemeris(start_epoch, end_epoch, step.days);
        if (!eph) throw nb::value_error(eph.error().c_str());
        if (!*eph) return std::nullopt;
        return Ephemeris{*eph};
      },
      nb::arg("start_epoch"), nb::arg("end_epoch"), nb::arg("step"),
      "TEME states from `start_epoch` to `end_epoch` every `step` (at most a quarter of the span), "
      "built once per distinct request and cached; None when the satellite cannot be propagated.");
  binding::set_builtins_module(cls);
}

void fill_bodies(nb::module_& m) { bind_satellite(m); }

}  // namespace talvoran
