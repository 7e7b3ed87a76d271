// Classical and equinoctial elements. The engine's element arrays hold
// [a, e, i, M, RAAN, argument of perigee] (mean anomaly at index 3); pack and unpack translate
// between that order and the field order below.
#pragma once

#include <array>

#include "enums/keplerian_type.hpp"
#include "enums/reference_frame.hpp"
#include "time/epoch.hpp"

namespace talvoran {

struct CartesianState;
struct EquinoctialElements;

struct KeplerianElements {
  double semi_major_axis = 0.0;  // km
  double eccentricity = 0.0;
  double inclination = 0.0;          // degrees
  double raan = 0.0;                 // degrees
  double argument_of_perigee = 0.0;  // degrees
  double mean_anomaly = 0.0;         // degrees

  std::array<double, 6> pack() const {
    return {semi_major_axis, eccentricity, inclination, mean_anomaly, raan, argument_of_perigee};
  }
  static KeplerianElements unpack(const std::array<double, 6>& a) {
    return {a[0], a[1], a[2], a[4], a[5], a[3]};
  }

  double apoapsis() const { return semi_major_axis * (1 + eccentricity); }   // radius, km
  double periapsis() const { return semi_major_axis * (1 - eccentricity); }  // radius, km

  // Revolutions per day: the two-body rate of the semi-major axis, taken as Brouwer and turned
  // into Kozai's for MeanKozaiGP.
  double mean_motion(KeplerianType type) const;

  EquinoctialElements to_equinoctial() const;
};

struct KeplerianState {
  Epoch epoch;
  KeplerianElements elements;
  ReferenceFrame frame = ReferenceFrame::TEME;
  KeplerianType type = KeplerianType::Osculating;

  // Two-body state of the elements as they are (mean elements are not converted first).
  CartesianState to_cartesian() const;
  // Through Cartesian: always Osculating, even to the state's own frame.
  KeplerianState to_frame(ReferenceFrame target) const;
};

struct EquinoctialElements {
  double a_f = 0.0, a_g = 0.0, chi = 0.0, psi = 0.0;
  double mean_longitude = 0.0;  // degrees
  double mean_motion = 0.0;     // revolutions per day

  std::array<double, 6> pack() const { return {a_f, a_g, chi, psi, mean_longitude, mean_motion}; }
  KeplerianElements to_keplerian() const;
};

}  // namespace talvoran
