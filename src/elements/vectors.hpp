// 3-vectors in Cartesian and spherical (range, right ascension, declination) form. Units are the
// caller's; spherical angles are degrees. The sums are written in a fixed order (z first) so that
// every part of the system computes the same bits for the same vectors.
#pragma once

#include <cmath>

namespace talvoran {

inline constexpr double kDegPerRad = 57.29577951308232;
inline constexpr double kRadPerDeg = 0.017453292519943295;

struct SphericalVector;

struct CartesianVector {
  double x = 0.0, y = 0.0, z = 0.0;

  double magnitude() const { return std::sqrt(z * z + (y * y + x * x)); }
  double dot(const CartesianVector& o) const { return z * o.z + (y * o.y + x * o.x); }
  double distance(const CartesianVector& o) const { return (*this - o).magnitude(); }

  // Radians; 0.0 when either vector is zero. The cosine is not clamped, so rounding on
  // (anti)parallel vectors can give NaN.
  double angle(const CartesianVector& o) const {
    const double m = o.magnitude() * magnitude();
    if (m == 0.0) return 0.0;
    return std::acos((z * o.z + (x * o.x + y * o.y)) / m);
  }

  SphericalVector to_spherical() const;

  CartesianVector operator+(const CartesianVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
  CartesianVector operator-(const CartesianVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
};

struct SphericalVector {
  double range = 0.0;
  double right_ascension = 0.0;  // degrees, (-180, 180] when made from a Cartesian vector
  double declination = 0.0;      // degrees

  CartesianVector to_cartesian() const {
    const double a = right_ascension * kRadPerDeg;
    const double d = declination * kRadPerDeg;
    return {std::cos(d) * (std::cos(a) * range), std::cos(d) * (std::sin(a) * range),
            std::sin(d) * range};
  }
};

inline SphericalVector CartesianVector::to_spherical() const {
  const double rho2 = x * x + y * y;
  return {std::sqrt(z * z + rho2), std::atan2(y, x) * kDegPerRad,
          std::atan2(z, std::sqrt(rho2)) * kDegPerRad};
}

}  // namespace talvoran
