// TEME is the true equator of date with the x axis at the mean equinox projected on it: the
// true-of-date frame turned about z by the equation of the equinoxes. SGP4's frame follows the
// 1982 sidereal time, which knows only the geometric term dpsi cos(eps_mean); the kinematic terms
// added to GAST in 1994 (eraEqeq94) are therefore left out. They are 0.00264" sin(node) +
// 0.000063" sin(2 node), about 0.1 m at GEO-transfer radii. Vallado et al. 2006, "Revisiting
// Spacetrack Report #3", AIAA 2006-6753, sec. "TEME" and App. C.
#include "astrofunc/fk5_reduction.hpp"

#include <erfa.h>

#include <cmath>

namespace astrofunc {

namespace {

// r_teme = m * r_mod.
void MeanToTeme(double jd_tt1, double jd_tt2, double m[3][3]) {
  double dpsi_rad = 0.0, deps_rad = 0.0;
  eraNut80(jd_tt1, jd_tt2, &dpsi_rad, &deps_rad);
  const double eps_mean_rad = eraObl80(jd_tt1, jd_tt2);
  eraNumat(eps_mean_rad, dpsi_rad, deps_rad, m);  // MOD -> TOD
  const double eqe_geometric_rad = dpsi_rad * std::cos(eps_mean_rad);
  eraRz(eqe_geometric_rad, m);  // TOD -> TEME
}

}  // namespace

void J2000ToTemeMatrix(double jd_tt1, double jd_tt2, double m[3][3]) {
  double precession[3][3], nutation_eqe[3][3];
  eraPmat76(jd_tt1, jd_tt2, precession);  // J2000 -> MOD
  MeanToTeme(jd_tt1, jd_tt2, nutation_eqe);
  eraRxr(nutation_eqe, precession, m);
}

void MeanOfDateToTemeMatrix(double jd_tt1, double jd_tt2, double m[3][3]) {
  MeanToTeme(jd_tt1, jd_tt2, m);
}

}  // namespace astrofunc
