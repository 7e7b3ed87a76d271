// Python classes GeodeticPosition and RelativeState.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/geodetic.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_geodetic_position(nb::module_& m) {
  nb::class_<GeodeticPosition> cls(m, "GeodeticPosition",
                                   "Latitude and longitude (degrees) and altitude (km).");
  cls.def(nb::init<double, double, double>(), nb::arg("latitude"), nb::arg("longitude"),
          nb::arg("altitude"));
  cls.def_prop_ro("latitude", [](const GeodeticPosition& g) { return g.latitude; });
  cls.def_prop_ro("longitude", [](const GeodeticPosition& g) { return g.longitude; });
  cls.def_prop_ro("altitude", [](const GeodeticPosition& g) { return g.altitude; });
  binding::set_builtins_module(cls);
}

void bind_relative_state(nb::module_& m) {
  nb::class_<RelativeState> cls(m, "RelativeState",
                                "A secondary satellite's position and velocity relative to an "
                                "origin satellite.");
  cls.def(
      "__init__",
      [](RelativeState* self, const Epoch& epoch, const CartesianVector& position,
         const CartesianVector& velocity, std::string origin_id, std::string secondary_id) {
        new (self)
            RelativeState{epoch, position, velocity, std::move(origin_id), std::move(secondary_id)};
      },
      nb::arg("epoch"), nb::arg("position"), nb::arg("velocity"), nb::arg("origin_id"),
      nb::arg("secondary_id"));
  cls.def_prop_ro("epoch", [](const RelativeState& r) { return r.epoch; });
  cls.def_prop_ro("position", [](const RelativeState& r) { return r.position; });
  cls.def_prop_ro("velocity", [](const RelativeState& r) { return r.velocity; });
  cls.def_prop_ro("origin_satellite_id",
                  [](const RelativeState& r) { return r.origin_satellite_id; });
  cls.def_prop_ro("secondary_satellite_id",
                  [](const RelativeState& r) { return r.secondary_satellite_id; });
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
