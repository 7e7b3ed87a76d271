// Osculating to SGP4 mean (Brouwer) elements: the mean elements whose SGP4 state at their own
// epoch is the given osculating state. At the epoch SGP4 adds no secular, drag or lunisolar
// change, only its periodics: the long-period J3 terms and the short-period J2 terms of
// Spacetrack Report No. 3 (as revised by Vallado et al. 2006, AIAA 2006-6753, "sgp4" routine,
// "long period periodics" and "short period periodics"). They are inverted here by fixed-point
// iteration in equinoctial variables, which stay regular for circular and equatorial orbits.
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

// Mean elements in SGP4's units: n'' in rad/min, angles in radians.
struct MeanSet {
  double n_rad_min, e, incl, node, argp, mean_anom;
};

struct Sgp4Constants {
  double radius_km, ke, j2, j3_over_j2;
};

Sgp4Constants ModelConstants() {
  const double j2 = EnvGetGeoConst(XF_GEOCON_J2);
  return {EnvGetGeoConst(XF_GEOCON_KMPER), EnvGetGeoConst(XF_GEOCON_KE), j2,
          EnvGetGeoConst(XF_GEOCON_J3) / j2};
}

// SGP4's position and velocity at the epoch of the mean set. False when the set has no state
// (semi-latus rectum not positive).
bool Sgp4EpochState(const Sgp4Constants& k, const MeanSet& m, double r_km[3], double v_kms[3]) {
  const double cosi = std::cos(m.incl), sini = std::sin(m.incl);
  const double cosi2 = cosi * cosi;
  const double con41 = 3.0 * cosi2 - 1.0, x1mth2 = 1.0 - cosi2, x7thm1 = 7.0 * cosi2 - 1.0;
  // The report divides by 1 + cos i; near i = 180 deg the code keeps the divisor at 1.5e-12.
  const double one_plus_cosi = std::fabs(cosi + 1.0) > 1.5e-12 ? cosi + 1.0 : 1.5e-12;
  const double xlcof = -0.25 * k.j3_over_j2 * sini * (3.0 + 5.0 * cosi) / one_plus_cosi;
  const double aycof = -0.5 * k.j3_over_j2 * sini;
  const double am = std::pow(k.ke / m.n_rad_min, 2.0 / 3.0);  // Earth radii

  // Long-period periodics.
  const double axnl = m.e * std::cos(m.argp);
  double temp = 1.0 / (am * (1.0 - m.e * m.e));
  const double aynl = m.e * std::sin(m.argp) + temp * aycof;
  const double xl = m.mean_anom + m.argp + m.node + temp * xlcof * axnl;

  // Kepler's equation in the modified form, with the report's step limit.
  const double u = std::fmod(xl - m.node, kTwoPi);
  double eo1 = u, sineo1 = 0.0, coseo1 = 1.0;
  for (int iter = 0; iter < 50; ++iter) {
    sineo1 = std::sin(eo1);
    coseo1 = std::cos(eo1);
    double step = (u - aynl * coseo1 + axnl * sineo1 - eo1) / (1.0 - coseo1 * axnl - sineo1 * aynl);
    if (std::fabs(step) >= 0.95) step = step > 0.0 ? 0.95 : -0.95;
    eo1 += step;
    if (std::fabs(step) < 1e-14) break;
  }
  sineo1 = std::sin(eo1);
  coseo1 = std::cos(eo1);

  // Short-period periodics.
  const double ecose = axnl * coseo1 + aynl * sineo1;
  const double esine = axnl * sineo1 - aynl * coseo1;
  const double el2 = axnl * axnl + aynl * aynl;
  const double pl = am * (1.0 - el2);
  if (!(pl > 0.0)) return false;
  const double rl = am * (1.0 - ecose);
  const double rdotl = std::sqrt(am) * esine / rl;
  const double rvdotl = std::sqrt(pl) / rl;
  const double betal = std::sqrt(1.0 - el2);
  temp = esine / (1.0 + betal);
  const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
  const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
  double su = std::atan2(sinu, cosu);
  const double sin2u = 2.0 * cosu * sinu, cos2u = 1.0 - 2.0 * sinu * sinu;
  temp = 1.0 / pl;
  const double temp1 = 0.5 * k.j2 * temp, temp2 = temp1 * temp;
  const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
  su -= 0.25 * temp2 * x7thm1 * sin2u;
  const double xnode = m.node + 1.5 * temp2 * cosi * sin2u;
  const double xinc = m.incl + 1.5 * temp2 * cosi * sini * cos2u;
  const double mvt = rdotl - m.n_rad_min * temp1 * x1mth2 * sin2u / k.ke;
  const double rvdot = rvdotl + m.n_rad_min * temp1 * (x1mth2 * cos2u + 1.5 * con41) / k.ke;

  const double sinsu = std::sin(su), cossu = std::cos(su);
  const double snod = std::sin(xnode), cnod = std::cos(xnode);
  const double sinip = std::sin(xinc), cosip = std::cos(xinc);
  const double xmx = -snod * cosip, xmy = cnod * cosip;
  const double ux[3] = {xmx * sinsu + cnod * cossu, xmy * sinsu + snod * cossu, sinip * sinsu};
  const double vx[3] = {xmx * cossu - cnod * sinsu, xmy * cossu - snod * sinsu, sinip * cossu};
  const double v_scale = k.radius_km * k.ke / 60.0;  // Earth radii per (1/ke) min -> km/s
  for (int c = 0; c < 3; ++c) {
    r_km[c] = mrt * ux[c] * k.radius_km;
    v_kms[c] = (mvt * ux[c] + rvdot * vx[c]) * v_scale;
  }
  return true;
}

// a (km) and the direct equinoctial set (L in degrees) of a state, through the two-body calls.
bool EquinoctialOfState(const double r[3], const double v[3], double z[6]) {
  double kep[6], eqnx[6];
  if (PosVelToKep(r, v, kep) != 0 || KepToEqnx(kep, eqnx) != 0) return false;
  z[0] = kep[XA_KEP_A];
  for (int c = 0; c < 4; ++c) z[c + 1] = eqnx[c];
  z[5] = eqnx[XA_EQNX_L];
  return true;
}

MeanSet MeanOfEquinoctial(const Sgp4Constants& k, const double z[6]) {
  const double node = std::atan2(z[3], z[4]);
  const double lon_peri = std::atan2(z[2], z[1]);
  return {k.ke / std::pow(z[0] / k.radius_km, 1.5),
          std::hypot(z[1], z[2]),
          2.0 * std::atan(std::hypot(z[3], z[4])),
          node,
          lon_peri - node,
          z[5] * kRadPerDeg - lon_peri};
}

}  // namespace

extern "C" {

int KepOscToMean(const double kepOsc[6], double kepMean[6]) {
  const auto outs = {std::span<double>(kepMean, 6)};
  double r[3], v[3], target[6];
  if (KepToPosVel(kepOsc, r, v) != 0 || !EquinoctialOfState(r, v, target)) {
    char reason[ENGINE_TEXT_BUF] = {};
    GetLastErrMsg(reason);  // the two-body call's own message
    return Fail("KepOscToMean", std::string("osculating elements rejected (") + reason + ")", outs);
  }
  const Sgp4Constants k = ModelConstants();
  double z[6];
  for (int c = 0; c < 6; ++c) z[c] = target[c];
  // The periodics are of order J2 ~ 1e-3, so each step shrinks the error by about that factor.
  bool converged = false;
  for (int iter = 0; iter < 30 && !converged; ++iter) {
    double rm[3], vm[3], zm[6];
    if (!Sgp4EpochState(k, MeanOfEquinoctial(k, z), rm, vm) || !EquinoctialOfState(rm, vm, zm))
      break;
    // Convergence is judged on a relative to itself, chi and psi relative to tan(i/2) when that
    // exceeds 1 (near i = 180 deg they grow without bound), the rest absolutely.
    double largest = 0.0;
    for (int c = 0; c < 6; ++c) {
      double diff = target[c] - zm[c];
      if (c == 5) diff = std::remainder(diff, 360.0);
      z[c] += diff;
      const double scale = c == 0               ? target[0]
                           : c == 5             ? kDegPerRad
                           : (c == 3 || c == 4) ? std::fmax(1.0, std::fabs(target[c]))
                                                : 1.0;
      largest = std::fmax(largest, std::fabs(diff) / scale);
    }
    converged = largest < 1e-13;
  }
  if (!converged)
    return Fail("KepOscToMean",
                "no SGP4 mean elements reproduce this state (e = " + Num(kepOsc[XA_KEP_E]) + ")",
                outs);
  const double eqnx[6] = {z[1], z[2], z[3], z[4], WrapDeg360(z[5]), AToN(z[0])};
  return EqnxToKep(eqnx, kepMean);
}

}  // extern "C"
