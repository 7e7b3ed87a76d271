// Python classes CartesianVector and SphericalVector.
#include <nanobind/nanobind.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/vectors.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_cartesian_vector(nb::module_& m) {
  nb::class_<CartesianVector> cls(m, "CartesianVector", "A 3-vector (km, km/s or unitless).");
  cls.def(nb::init<double, double, double>(), nb::arg("x"), nb::arg("y"), nb::arg("z"));
  cls.def_prop_ro("x", [](const CartesianVector& v) { return v.x; });
  cls.def_prop_ro("y", [](const CartesianVector& v) { return v.y; });
  cls.def_prop_ro("z", [](const CartesianVector& v) { return v.z; });
  cls.def_prop_ro("magnitude", &CartesianVector::magnitude);
  cls.def("dot", &CartesianVector::dot, nb::arg("other"));
  cls.def("distance", &CartesianVector::distance, nb::arg("other"));
  cls.def("angle", &CartesianVector::angle, nb::arg("other"),
          "The angle between the two vectors, radians; 0.0 when either is zero.");
  cls.def("to_spherical", &CartesianVector::to_spherical);
  cls.def(
      "__add__", [](const CartesianVector& a, const CartesianVector& b) { return a + b; },
      nb::is_operator());
  cls.def(
      "__sub__", [](const CartesianVector& a, const CartesianVector& b) { return a - b; },
      nb::is_operator());
  binding::set_builtins_module(cls);
}

void bind_spherical_vector(nb::module_& m) {
  nb::class_<SphericalVector> cls(m, "SphericalVector",
                                  "Range, right ascension and declination (degrees).");
  cls.def(nb::init<double, double, double>(), nb::arg("range"), nb::arg("right_ascension"),
          nb::arg("declination"));
  binding::def_prop_rw(
      cls, "range", [](const SphericalVector& v) { return v.range; },
      [](SphericalVector& v, double x) { v.range = x; });
  binding::def_prop_rw(
      cls, "right_ascension", [](const SphericalVector& v) { return v.right_ascension; },
      [](SphericalVector& v, double x) { v.right_ascension = x; });
  binding::def_prop_rw(
      cls, "declination", [](const SphericalVector& v) { return v.declination; },
      [](SphericalVector& v, double x) { v.declination = x; });
  cls.def("to_cartesian", &SphericalVector::to_cartesian);
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
