// Non-gravitational model terms of an orbit: radiation pressure, drag, mass, and the mean-motion
// derivatives of an element set. Element sets keep their whole drag term in drag_coefficient and
// their whole radiation-pressure term in srp_coefficient, with unit areas and mass.
#pragma once

namespace talvoran {

// B* (1/Earth radii) times this is the drag term of an element set.
inline constexpr double kBStarToDragTerm = 12.741621;

struct ForceProperties {
  double srp_coefficient = 0.0;
  double srp_area = 0.0;
  double drag_coefficient = 0.0;
  double drag_area = 0.0;
  double mass = 0.0;
  double mean_motion_dot = 0.0;
  double mean_motion_dot_dot = 0.0;

  // Evaluated in the order written (area over mass, times the coefficient): element-set arrays
  // are written with the same bits. A zero mass gives an infinite or NaN term, unchecked.
  double drag_term() const { return drag_area / mass * drag_coefficient; }
  double srp_term() const { return srp_area / mass * srp_coefficient; }
  double b_star() const { return drag_term() / kBStarToDragTerm; }
};

}  // namespace talvoran
