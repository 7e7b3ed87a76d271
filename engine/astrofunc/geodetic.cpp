// Geodetic latitude, longitude and height on the ellipsoid of the Earth model in force (radius
// XF_GEOCON_KMPER, flattening XF_GEOCON_FF; WGS-72 by default). The Cartesian <-> geodetic steps
// are ERFA's eraGc2gde (Fukushima's closed-form method, exact to ~1e-12 m for terrestrial points)
// and eraGd2gce. Longitudes are east, in (-180, 180].
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "astrofunc/earth_orientation.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

int EfgToLlh(const char* call, const double r_efg_km[3], double llh[3]) {
  const auto outs = {std::span<double>(llh, 3)};
  if (!AllFinite({r_efg_km, 3})) return Fail(call, "a position component is not finite", outs);
  if (r_efg_km[0] == 0.0 && r_efg_km[1] == 0.0 && r_efg_km[2] == 0.0)
    return Fail(call, "position is the zero vector", outs);
  double lon_rad = 0.0, lat_rad = 0.0, height_km = 0.0;
  double r[3] = {r_efg_km[0], r_efg_km[1], r_efg_km[2]};  // eraGc2gde takes a non-const array
  const int status = eraGc2gde(EnvGetGeoConst(XF_GEOCON_KMPER), EnvGetGeoConst(XF_GEOCON_FF), r,
                               &lon_rad, &lat_rad, &height_km);
  if (status != 0 || !std::isfinite(lat_rad + lon_rad + height_km))
    return Fail(call, "no geodetic solution (ERFA status " + std::to_string(status) + ")", outs);
  llh[0] = lat_rad * kDegPerRad;
  // atan2 gives -180 for a point on the -x axis with y = -0.0; keep the range (-180, 180].
  llh[1] = lon_rad * kDegPerRad <= -180.0 ? 180.0 : lon_rad * kDegPerRad;
  llh[2] = height_km;
  return 0;
}

int LlhToEfg(const char* call, const double llh[3], double r_efg_km[3]) {
  const auto outs = {std::span<double>(r_efg_km, 3)};
  if (!AllFinite({llh, 3})) return Fail(call, "latitude, longitude or height not finite", outs);
  if (std::fabs(llh[0]) > 90.0)
    return Fail(call, "latitude " + Num(llh[0]) + " deg out of range [-90, 90]", outs);
  const int status = eraGd2gce(EnvGetGeoConst(XF_GEOCON_KMPER), EnvGetGeoConst(XF_GEOCON_FF),
                               llh[1] * kRadPerDeg, llh[0] * kRadPerDeg, llh[2], r_efg_km);
  if (status != 0)
    return Fail(call, "no Cartesian position (ERFA status " + std::to_string(status) + ")", outs);
  return 0;
}

// r_efg = Rz(theta) r_teme.
void RotateZ(double theta_rad, const double in[3], double out[3]) {
  const double c = std::cos(theta_rad), s = std::sin(theta_rad);
  const double x = c * in[0] + s * in[1];
  const double y = -s * in[0] + c * in[1];
  out[0] = x;
  out[1] = y;
  out[2] = in[2];
}

}  // namespace

extern "C" {

int EFGPosToLLH(const double posEFG[3], double llh[3]) {
  return EfgToLlh("EFGPosToLLH", posEFG, llh);
}

int LLHToEFGPos(const double llh[3], double posEFG[3]) {
  return LlhToEfg("LLHToEFGPos", llh, posEFG);
}

int XYZToLLH(double theta, const double posECI[3], double llh[3]) {
  if (!std::isfinite(theta))
    return Fail("XYZToLLH", "theta " + Num(theta) + " rad is not finite", {std::span(llh, 3)});
  double r_efg[3];
  RotateZ(theta, posECI, r_efg);
  return EfgToLlh("XYZToLLH", r_efg, llh);
}

int XYZToLLHTime(double ds50UTC, const double posECI[3], double llh[3]) {
  double gmst_rad = 0.0;
  std::string why;
  if (!GmstOfUtc(ds50UTC, &gmst_rad, &why)) return Fail("XYZToLLHTime", why, {std::span(llh, 3)});
  double r_efg[3];
  RotateZ(gmst_rad, posECI, r_efg);
  return EfgToLlh("XYZToLLHTime", r_efg, llh);
}

int LLHToXYZTime(double ds50UTC, const double llh[3], double posECI[3]) {
  double gmst_rad = 0.0;
  std::string why;
  if (!GmstOfUtc(ds50UTC, &gmst_rad, &why))
    return Fail("LLHToXYZTime", why, {std::span(posECI, 3)});
  double r_efg[3];
  if (const int status = LlhToEfg("LLHToXYZTime", llh, r_efg); status != 0) {
    Clear({std::span(posECI, 3)});
    return status;
  }
  RotateZ(-gmst_rad, r_efg, posECI);
  return 0;
}

}  // extern "C"
