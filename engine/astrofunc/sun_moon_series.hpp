// Analytic geocentric Sun and Moon, used when no JPL file is set.
#pragma once

namespace astrofunc {

// Geocentric positions (km) in the mean equator and equinox of date, at TT given as Julian
// centuries from J2000.
void SunMeanOfDate(double t_tt_cent, double r_km[3]);
void MoonMeanOfDate(double t_tt_cent, double r_km[3]);

}  // namespace astrofunc
