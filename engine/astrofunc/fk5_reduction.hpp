// The IAU 1976/1980 (FK5) reduction between the mean equator and equinox of J2000 and TEME of
// date, as pure functions of TT (no timing constants), so they can be checked against published
// examples with the example's own time.
#pragma once

namespace astrofunc {

// r_teme = m * r_j2000 at the TT Julian date jd_tt1 + jd_tt2: precession (IAU 1976),
// nutation (IAU 1980, 106 terms) and the equation of the equinoxes without its kinematic terms.
void J2000ToTemeMatrix(double jd_tt1, double jd_tt2, double m[3][3]);

// r_teme = m * r_mod, where MOD is the mean equator and equinox of the same date.
void MeanOfDateToTemeMatrix(double jd_tt1, double jd_tt2, double m[3][3]);

}  // namespace astrofunc
