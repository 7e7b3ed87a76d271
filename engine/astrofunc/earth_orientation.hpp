// Earth orientation at a UTC day count from the timing constants (timefunc): the Greenwich mean
// sidereal angle of UT1 and the polar motion.
#pragma once

#include <string>

namespace astrofunc {

// GMST (IAU 1982) of UT1 = UTC + (UT1 - UTC), radians in [0, 2 pi). False with the reason in
// *why when the timing constants cannot give UT1.
bool GmstOfUtc(double ds50_utc, double* gmst_rad, std::string* why);

// Polar motion in radians. False with the reason in *why.
bool PolarMotionOfUtc(double ds50_utc, double* xp_rad, double* yp_rad, std::string* why);

// TT as a two-part Julian date (jd1 + jd2) of a TAI day count.
void TtJdOfTai(double ds50_tai, double* jd1, double* jd2);

// TAI day count of a UTC one. False with the reason in *why.
bool TaiOfUtc(double ds50_utc, double* ds50_tai, std::string* why);

}  // namespace astrofunc
