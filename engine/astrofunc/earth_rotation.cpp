// Vallado, "Fundamentals of Astrodynamics and Applications", 5th ed., sec. 3.7 (FK5 reduction:
// sidereal time and polar motion). Polar motion uses ERFA's eraPom00 with s' = 0: the IAU 1980
// theory has no TIO locator, and the product R1(-yp) R2(-xp) differs from Vallado's small-angle
// form only at order xp * yp (1e-12 rad).
#include "astrofunc/earth_rotation.hpp"

#include <erfa.h>

#include "astrofunc/common.hpp"

namespace astrofunc {

namespace {

// omega x r for omega along +z.
void OmegaCross(double omega_rad_s, const double r[3], double out[3]) {
  out[0] = -omega_rad_s * r[1];
  out[1] = omega_rad_s * r[0];
  out[2] = 0.0;
}

}  // namespace

void TemeToPef(double gmst_rad, double omega_rad_s, const double r_teme[3], const double v_teme[3],
               double r_pef[3], double v_pef[3]) {
  double rot[3][3];
  eraIr(rot);
  eraRz(gmst_rad, rot);
  double v[3], w_x_r[3];
  MatVec(rot, v_teme, v);
  MatVec(rot, r_teme, r_pef);
  OmegaCross(omega_rad_s, r_pef, w_x_r);
  Sub(v, w_x_r, v_pef);
}

void PefToTeme(double gmst_rad, double omega_rad_s, const double r_pef[3], const double v_pef[3],
               double r_teme[3], double v_teme[3]) {
  double rot[3][3];
  eraIr(rot);
  eraRz(gmst_rad, rot);
  double w_x_r[3], v_inertial_pef[3];
  OmegaCross(omega_rad_s, r_pef, w_x_r);
  for (int k = 0; k < 3; ++k) v_inertial_pef[k] = v_pef[k] + w_x_r[k];
  MatTVec(rot, r_pef, r_teme);
  MatTVec(rot, v_inertial_pef, v_teme);
}

void PefToItrf(double xp_rad, double yp_rad, const double r_pef[3], const double v_pef[3],
               double r_itrf[3], double v_itrf[3]) {
  double w[3][3];
  eraPom00(xp_rad, yp_rad, 0.0, w);
  MatVec(w, r_pef, r_itrf);
  MatVec(w, v_pef, v_itrf);
}

void ItrfToPef(double xp_rad, double yp_rad, const double r_itrf[3], const double v_itrf[3],
               double r_pef[3], double v_pef[3]) {
  double w[3][3];
  eraPom00(xp_rad, yp_rad, 0.0, w);
  MatTVec(w, r_itrf, r_pef);
  MatTVec(w, v_itrf, v_pef);
}

}  // namespace astrofunc
