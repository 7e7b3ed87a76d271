// Earth rotation steps with explicit Earth-orientation values (no timing constants), so they can
// be checked against published examples with the example's own EOP.
#pragma once

namespace astrofunc {

// TEME <-> pseudo-Earth-fixed (PEF): rotation about z by the Greenwich mean sidereal angle
// gmst_rad; velocities relative to the rotating frame, omega_rad_s the Earth's rotation rate.
void TemeToPef(double gmst_rad, double omega_rad_s, const double r_teme[3], const double v_teme[3],
               double r_pef[3], double v_pef[3]);
void PefToTeme(double gmst_rad, double omega_rad_s, const double r_pef[3], const double v_pef[3],
               double r_teme[3], double v_teme[3]);

// PEF <-> ITRF by the polar motion xp_rad, yp_rad (the motion's own rate, ~1e-14 rad/s, is
// neglected).
void PefToItrf(double xp_rad, double yp_rad, const double r_pef[3], const double v_pef[3],
               double r_itrf[3], double v_itrf[3]);
void ItrfToPef(double xp_rad, double yp_rad, const double r_itrf[3], const double v_itrf[3],
               double r_pef[3], double v_pef[3]);

}  // namespace astrofunc
