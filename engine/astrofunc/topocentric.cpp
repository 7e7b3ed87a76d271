// Topocentric geometry of a site on the rotating Earth, all vectors in TEME. The horizon frame
// is east-north-up, with "up" the ellipsoid normal at the site's geodetic latitude and the local
// sidereal angle theta giving the site's meridian (Vallado, "Fundamentals of Astrodynamics and
// Applications", 5th ed., sec. 4.4, algorithms 27 and 28 in east-north-up form).
//
// Singular directions: at the zenith or nadir the azimuth and its rate are set to 0 (and the
// elevation rate, whose direction is then undefined, too); at a celestial pole the right
// ascension and its rate are 0 and the declination rate is 0.
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "astrofunc/earth_orientation.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

struct HorizonBasis {
  double east[3], north[3], up[3];
};

HorizonBasis BasisAt(double theta_lst_rad, double lat_deg) {
  const double ct = std::cos(theta_lst_rad), st = std::sin(theta_lst_rad);
  const double lat_rad = lat_deg * kRadPerDeg;
  const double cl = std::cos(lat_rad), sl = std::sin(lat_rad);
  return {{-st, ct, 0.0}, {-sl * ct, -sl * st, cl}, {cl * ct, cl * st, sl}};
}

// omega x r for the Earth's rotation about +z.
void EarthSpin(const double r[3], double out[3]) {
  const double omega_rad_s = EnvGetGeoConst(XF_GEOCON_THDOT);
  out[0] = -omega_rad_s * r[1];
  out[1] = omega_rad_s * r[0];
  out[2] = 0.0;
}

bool SiteOk(double theta, double lat_deg, std::string* why) {
  if (!std::isfinite(theta)) {
    *why = "theta " + Num(theta) + " rad is not finite";
    return false;
  }
  if (!(std::fabs(lat_deg) <= 90.0)) {
    *why = "latitude " + Num(lat_deg) + " deg out of range [-90, 90]";
    return false;
  }
  return true;
}

// Azimuth (from north through east) and elevation, radians, of east-north-up components.
void AzEl(double e, double n, double u, double* az_rad, double* el_rad) {
  const double horiz = std::hypot(e, n);
  *az_rad = horiz == 0.0 ? 0.0 : WrapTwoPi(std::atan2(e, n));
  *el_rad = std::atan2(u, horiz);
}

}  // namespace

extern "C" {

int ECIToTopoComps(double theta, double lat, const double senPos[3], const double satPos[3],
                   const double satVel[3], double xa_topo[10]) {
  const auto outs = {std::span<double>(xa_topo, XA_TOPO_SIZE)};
  std::string why;
  if (!SiteOk(theta, lat, &why)) return Fail("ECIToTopoComps", why, outs);
  if (!AllFinite({senPos, 3}) || !AllFinite({satPos, 3}) || !AllFinite({satVel, 3}))
    return Fail("ECIToTopoComps", "a position or velocity component is not finite", outs);
  double rho[3], site_vel[3], sat_spin[3], rho_dot[3], rho_dot_rot[3];
  Sub(satPos, senPos, rho);
  const double range_km = Norm(rho);
  if (range_km == 0.0)
    return Fail("ECIToTopoComps", "zero range (satellite at the sensor's position)", outs);
  EarthSpin(senPos, site_vel);
  EarthSpin(satPos, sat_spin);
  Sub(satVel, site_vel, rho_dot);      // line-of-sight rate seen from the moving site
  Sub(satVel, sat_spin, rho_dot_rot);  // the same in the Earth-fixed frame
  const double range_rate = Dot(rho, rho_dot) / range_km;

  // Right ascension and declination in TEME, and their inertial rates.
  const double rho_xy = std::hypot(rho[0], rho[1]);
  double ra_rate = 0.0, dec_rate = 0.0;
  if (rho_xy > 0.0) {
    ra_rate = (rho[0] * rho_dot[1] - rho[1] * rho_dot[0]) / (rho_xy * rho_xy);
    dec_rate = (rho_dot[2] - range_rate * rho[2] / range_km) / rho_xy;
  }
  xa_topo[XA_TOPO_RA] = (rho_xy > 0.0 ? WrapTwoPi(std::atan2(rho[1], rho[0])) : 0.0) * kDegPerRad;
  xa_topo[XA_TOPO_DEC] = std::atan2(rho[2], rho_xy) * kDegPerRad;
  xa_topo[XA_TOPO_RADOT] = ra_rate * kDegPerRad;
  xa_topo[XA_TOPO_DECDOT] = dec_rate * kDegPerRad;

  // Azimuth and elevation in the site's rotating horizon frame, and their rates there.
  const HorizonBasis b = BasisAt(theta, lat);
  const double e = Dot(rho, b.east), n = Dot(rho, b.north), u = Dot(rho, b.up);
  const double e_dot = Dot(rho_dot_rot, b.east), n_dot = Dot(rho_dot_rot, b.north);
  const double u_dot = Dot(rho_dot_rot, b.up);
  double az_rad = 0.0, el_rad = 0.0;
  AzEl(e, n, u, &az_rad, &el_rad);
  const double horiz = std::hypot(e, n);
  double az_rate = 0.0, el_rate = 0.0;
  if (horiz > 0.0) {
    az_rate = (n * e_dot - e * n_dot) / (horiz * horiz);
    el_rate = (u_dot - range_rate * u / range_km) / horiz;
  }
  xa_topo[XA_TOPO_AZ] = az_rad * kDegPerRad;
  xa_topo[XA_TOPO_EL] = el_rad * kDegPerRad;
  xa_topo[XA_TOPO_RANGE] = range_km;
  xa_topo[XA_TOPO_AZDOT] = az_rate * kDegPerRad;
  xa_topo[XA_TOPO_ELDOT] = el_rate * kDegPerRad;
  xa_topo[XA_TOPO_RANGEDOT] = range_rate;
  return 0;
}

int RAEToECI(double theta, double lat, const double xa_rae[6], const double senPos[3],
             double satPos[3], double satVel[3]) {
  const auto outs = {std::span<double>(satPos, 3), std::span<double>(satVel, 3)};
  std::string why;
  if (!SiteOk(theta, lat, &why)) return Fail("RAEToECI", why, outs);
  if (!AllFinite({xa_rae, XA_RAE_SIZE}) || !AllFinite({senPos, 3}))
    return Fail("RAEToECI", "a range, angle, rate or sensor component is not finite", outs);
  const double range_km = xa_rae[XA_RAE_RANGE];
  if (!(range_km > 0.0))
    return Fail("RAEToECI", "range " + Num(range_km) + " km is not positive", outs);
  const double az = xa_rae[XA_RAE_AZ] * kRadPerDeg, el = xa_rae[XA_RAE_EL] * kRadPerDeg;
  const double az_rate = xa_rae[XA_RAE_AZDOT] * kRadPerDeg;
  const double el_rate = xa_rae[XA_RAE_ELDOT] * kRadPerDeg;
  const double range_rate = xa_rae[XA_RAE_RANGEDOT];
  const double ca = std::cos(az), sa = std::sin(az), ce = std::cos(el), se = std::sin(el);
  const double enu[3] = {range_km * ce * sa, range_km * ce * ca, range_km * se};
  const double enu_dot[3] = {
      range_rate * ce * sa - range_km * se * sa * el_rate + range_km * ce * ca * az_rate,
      range_rate * ce * ca - range_km * se * ca * el_rate - range_km * ce * sa * az_rate,
      range_rate * se + range_km * ce * el_rate};
  const HorizonBasis b = BasisAt(theta, lat);
  double spin[3];
  for (int k = 0; k < 3; ++k) {
    satPos[k] = senPos[k] + enu[0] * b.east[k] + enu[1] * b.north[k] + enu[2] * b.up[k];
    satVel[k] = enu_dot[0] * b.east[k] + enu_dot[1] * b.north[k] + enu_dot[2] * b.up[k];
  }
  EarthSpin(satPos, spin);  // Earth-fixed velocity -> inertial
  for (int k = 0; k < 3; ++k) satVel[k] += spin[k];
  return 0;
}

int RaDecToAzEl(double thetaG, double lat, double lon, double ra, double dec, double* az,
                double* el) {
  const auto outs = {std::span<double>(az, 1), std::span<double>(el, 1)};
  std::string why;
  if (!std::isfinite(lon) || !std::isfinite(ra) || !std::isfinite(dec))
    return Fail("RaDecToAzEl", "longitude, right ascension or declination not finite", outs);
  const double theta_lst = thetaG + lon * kRadPerDeg;
  if (!SiteOk(theta_lst, lat, &why)) return Fail("RaDecToAzEl", why, outs);
  double u[3];
  eraS2c(ra * kRadPerDeg, dec * kRadPerDeg, u);
  const HorizonBasis b = BasisAt(theta_lst, lat);
  double az_rad = 0.0, el_rad = 0.0;
  AzEl(Dot(u, b.east), Dot(u, b.north), Dot(u, b.up), &az_rad, &el_rad);
  *az = az_rad * kDegPerRad;
  *el = el_rad * kDegPerRad;
  return 0;
}

int RaDecToAzElTime(double ds50UTC, double lat, double lon, double ra, double dec, double* az,
                    double* el) {
  double gmst_rad = 0.0;
  std::string why;
  if (!GmstOfUtc(ds50UTC, &gmst_rad, &why))
    return Fail("RaDecToAzElTime", why, {std::span<double>(az, 1), std::span<double>(el, 1)});
  return RaDecToAzEl(gmst_rad, lat, lon, ra, dec, az, el);
}

}  // extern "C"
