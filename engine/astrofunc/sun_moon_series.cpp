// Sun: the low-precision formula of the Astronomical Almanac (sec. C, "Low-precision formulas for
// the Sun"; also Vallado, "Fundamentals of Astrodynamics and Applications", Algorithm 29), stated
// good to 0.01 deg in direction between 1950 and 2050.
// Moon: the main terms of the ELP-2000/82 series as tabulated by Meeus, "Astronomical
// Algorithms", 2nd ed., ch. 47 (tables 47.A and 47.B truncated to their largest terms, with the
// additive A1, A2, A3 terms and the eccentricity factor E).
// Both give ecliptic coordinates of date, turned here to the mean equator with the IAU 1980 mean
// obliquity. docs/engine.md states the accuracy measured against DE421.
#include "astrofunc/sun_moon_series.hpp"

#include <erfa.h>

#include <cmath>
#include <cstdlib>

#include "astrofunc/common.hpp"

namespace astrofunc {

namespace {

constexpr double kAuKm = 149597870.7;  // IAU 2012 Resolution B2

double SinDeg(double x_deg) { return std::sin(x_deg * kRadPerDeg); }
double CosDeg(double x_deg) { return std::cos(x_deg * kRadPerDeg); }

// Ecliptic longitude, latitude (rad) and distance (km) of date -> mean equator of date.
void EclipticToEquator(double lon_rad, double lat_rad, double dist_km, double t_tt_cent,
                       double r_km[3]) {
  const double eps_rad = eraObl80(2451545.0, t_tt_cent * 36525.0);  // J2000 + T centuries
  const double cl = std::cos(lon_rad), sl = std::sin(lon_rad);
  const double cb = std::cos(lat_rad), sb = std::sin(lat_rad);
  const double ce = std::cos(eps_rad), se = std::sin(eps_rad);
  const double x = cb * cl, y = cb * sl, z = sb;
  r_km[0] = dist_km * x;
  r_km[1] = dist_km * (ce * y - se * z);
  r_km[2] = dist_km * (se * y + ce * z);
}

// Multiples of D, M, M', F and the coefficients: longitude (1e-6 deg), distance (1e-3 km).
struct LonDistTerm {
  signed char d, m, mp, f;
  int sigma_l, sigma_r;
};
constexpr LonDistTerm kLonDist[] = {
    {0, 0, 1, 0, 6288774, -20905355},
    {2, 0, -1, 0, 1274027, -3699111},
    {2, 0, 0, 0, 658314, -2955968},
    {0, 0, 2, 0, 213618, -569925},
    {0, 1, 0, 0, -185116, 48888},
    {0, 0, 0, 2, -114332, -3149},
    {2, 0, -2, 0, 58793, 246158},
    {2, -1, -1, 0, 57066, -152138},
    {2, 0, 1, 0, 53322, -170733},
    {2, -1, 0, 0, 45758, -204586},
    {0, 1, -1, 0, -40923, -129620},
    {1, 0, 0, 0, -34720, 108743},
    {0, 1, 1, 0, -30383, 104755},
    {2, 0, 0, -2, 15327, 10321},
    {0, 0, 1, 2, -12528, 0},
    {0, 0, 1, -2, 10980, 79661},
    {4, 0, -1, 0, 10675, -34782},
    {0, 0, 3, 0, 10034, -23210},
    {4, 0, -2, 0, 8548, -21636},
    {2, 1, -1, 0, -7888, 24208},
    {2, 1, 0, 0, -6766, 30824},
    {1, 0, -1, 0, -5163, -8379},
    {1, 1, 0, 0, 4987, -16675},
    {2, -1, 1, 0, 4036, -12831},
    {2, 0, 2, 0, 3994, -10445},
    {4, 0, 0, 0, 3861, -11650},
    {2, 0, -3, 0, 3665, 14403},
    {0, 1, -2, 0, -2689, -7003},
    {2, 0, -1, 2, -2602, 0},
    {2, -1, -2, 0, 2390, 10056},
    {1, 0, 1, 0, -2348, 6322},
    {2, -2, 0, 0, 2236, -9884},
    {0, 1, 2, 0, -2120, 5751},
    {0, 2, 0, 0, -2069, 0},
    {2, -2, -1, 0, 2048, -4950},
    {2, 0, 1, -2, -1773, 4130},
    {2, 0, 0, 2, -1595, 0},
    {4, -1, -1, 0, 1215, -3958},
    {0, 0, 2, 2, -1110, 0},
    {3, 0, -1, 0, -892, 3258},
    {2, 1, 1, 0, -810, 2616},
    {4, -1, -2, 0, 759, -1897},
    {0, 2, -1, 0, -713, -2117},
    {2, 2, -1, 0, -700, 2354},
    {2, 1, -2, 0, 691, 0},
    {2, -1, 0, -2, 596, 0},
    {4, 0, 1, 0, 549, -1423},
    {0, 0, 4, 0, 537, -1117},
    {4, -1, 0, 0, 520, -1571},
    {1, 0, -2, 0, -487, -1739},
    {0, 0, 2, -2, -381, -4421},
    {2, 0, -1, -2, 0, 8752},
};

// Multiples of D, M, M', F and the latitude coefficient (1e-6 deg).
struct LatTerm {
  signed char d, m, mp, f;
  int sigma_b;
};
constexpr LatTerm kLat[] = {
    {0, 0, 0, 1, 5128122}, {0, 0, 1, 1, 280602},  {0, 0, 1, -1, 277693}, {2, 0, 0, -1, 173237},
    {2, 0, -1, 1, 55413},  {2, 0, -1, -1, 46271}, {2, 0, 0, 1, 32573},   {0, 0, 2, 1, 17198},
    {2, 0, 1, -1, 9266},   {0, 0, 2, -1, 8822},   {2, -1, 0, -1, 8216},  {2, 0, -2, -1, 4324},
    {2, 0, 1, 1, 4200},    {2, 1, 0, -1, -3359},  {2, -1, -1, 1, 2463},  {2, -1, 0, 1, 2211},
    {2, -1, -1, -1, 2065}, {0, 1, -1, -1, -1870}, {4, 0, -1, -1, 1828},  {0, 1, 0, 1, -1794},
    {0, 0, 0, 3, -1749},   {0, 1, -1, 1, -1565},  {1, 0, 0, 1, -1491},   {0, 1, 1, 1, -1475},
    {0, 1, 1, -1, -1410},  {0, 1, 0, -1, -1344},  {1, 0, 0, -1, -1335},  {0, 0, 3, 1, 1107},
    {4, 0, 0, -1, 1021},   {4, 0, -1, 1, 833},
};

}  // namespace

void SunMeanOfDate(double t_tt_cent, double r_km[3]) {
  // The almanac's mean longitude includes the annual aberration (-20.5"); adding it back gives
  // the geometric direction the JPL path returns.
  constexpr double kAberrationDeg = 20.49552 / 3600.0;
  const double mean_lon_deg = 280.460 + kAberrationDeg + 36000.771 * t_tt_cent;
  const double mean_anom_deg = 357.5291092 + 35999.05034 * t_tt_cent;
  const double lon_deg = mean_lon_deg + 1.914666471 * SinDeg(mean_anom_deg) +
                         0.019994643 * SinDeg(2.0 * mean_anom_deg);
  const double dist_au =
      1.000140612 - 0.016708617 * CosDeg(mean_anom_deg) - 0.000139589 * CosDeg(2.0 * mean_anom_deg);
  EclipticToEquator(lon_deg * kRadPerDeg, 0.0, dist_au * kAuKm, t_tt_cent, r_km);
}

void MoonMeanOfDate(double t_tt_cent, double r_km[3]) {
  const double t = t_tt_cent, t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  // Mean elements (deg), Meeus eqs. 47.1 to 47.5.
  const double lp =
      218.3164477 + 481267.88123421 * t - 0.0015786 * t2 + t3 / 538841.0 - t4 / 65194000.0;
  const double d =
      297.8501921 + 445267.1114034 * t - 0.0018819 * t2 + t3 / 545868.0 - t4 / 113065000.0;
  const double m = 357.5291092 + 35999.0502909 * t - 0.0001536 * t2 + t3 / 24490000.0;
  const double mp =
      134.9633964 + 477198.8675055 * t + 0.0087414 * t2 + t3 / 69699.0 - t4 / 14712000.0;
  const double f =
      93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000.0 + t4 / 863310000.0;
  const double a1 = 119.75 + 131.849 * t, a2 = 53.09 + 479264.290 * t;
  const double a3 = 313.45 + 481266.484 * t;
  // The Earth's orbital eccentricity shrinks: terms in M are scaled by E per multiple of M.
  const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
  const auto e_factor = [e](int m_mult) {
    return std::abs(m_mult) == 2 ? e * e : (m_mult == 0 ? 1.0 : e);
  };

  double sum_l = 0.0, sum_r = 0.0, sum_b = 0.0;
  for (const LonDistTerm& k : kLonDist) {
    const double arg = k.d * d + k.m * m + k.mp * mp + k.f * f;
    const double ef = e_factor(k.m);
    sum_l += k.sigma_l * ef * SinDeg(arg);
    sum_r += k.sigma_r * ef * CosDeg(arg);
  }
  for (const LatTerm& k : kLat) {
    const double arg = k.d * d + k.m * m + k.mp * mp + k.f * f;
    sum_b += k.sigma_b * e_factor(k.m) * SinDeg(arg);
  }
  sum_l += 3958.0 * SinDeg(a1) + 1962.0 * SinDeg(lp - f) + 318.0 * SinDeg(a2);
  sum_b += -2235.0 * SinDeg(lp) + 382.0 * SinDeg(a3) + 175.0 * SinDeg(a1 - f) +
           175.0 * SinDeg(a1 + f) + 127.0 * SinDeg(lp - mp) - 115.0 * SinDeg(lp + mp);

  const double lon_deg = lp + sum_l * 1e-6, lat_deg = sum_b * 1e-6;
  const double dist_km = 385000.56 + sum_r * 1e-3;
  EclipticToEquator(lon_deg * kRadPerDeg, lat_deg * kRadPerDeg, dist_km, t_tt_cent, r_km);
}

}  // namespace astrofunc
