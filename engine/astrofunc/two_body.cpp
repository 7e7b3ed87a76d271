// Two-body conversions between Cartesian states and Keplerian or equinoctial elements, with the
// GM of the Earth model in force (WGS-72 unless changed).
//
// Element array: a (km), e, i, M, node, argument of perigee (degrees). Equinoctial array: the
// direct set af, ag, chi, psi, mean longitude (deg), mean motion (rev/day); Vallado,
// "Fundamentals of Astrodynamics and Applications", 5th ed., sec. 2.4 (equinoctial elements).
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

// Below these the perigee (circular) or the node (equatorial) is undefined; 1e-12 is well above
// the rounding noise of the eccentricity vector and of h_xy / |h| for states of any real orbit.
constexpr double kCircularEcc = 1e-12;
constexpr double kEquatorialSinI = 1e-12;

double Mu() { return EnvGetGeoConst(XF_GEOCON_MU); }

// Eccentric anomaly of mean anomaly M (rad) for 0 <= e < 1, by Newton's method. Starting from pi
// when e is large keeps every step on the convex side, so the iteration cannot overshoot even for
// e -> 1 and M -> 0 (Vallado, Algorithm 2 discussion).
double EccentricAnomaly(double m_rad, double e) {
  m_rad = std::remainder(m_rad, kTwoPi);  // (-pi, pi]
  double ecc_rad = (e < 0.8) ? m_rad : (m_rad < 0.0 ? -std::numbers::pi : std::numbers::pi);
  for (int iter = 0; iter < 100; ++iter) {
    const double step = (ecc_rad - e * std::sin(ecc_rad) - m_rad) / (1.0 - e * std::cos(ecc_rad));
    ecc_rad -= step;
    if (std::fabs(step) < 1e-15) break;
  }
  return ecc_rad;
}

}  // namespace

extern "C" {

double NToA(double meanMotion) {
  if (!(std::isfinite(meanMotion) && meanMotion > 0.0)) {
    engine::fail("NToA: mean motion " + Num(meanMotion) +
                 " rev/day is not a positive finite number");
    return 0.0;
  }
  const double n_rad_s = meanMotion * kTwoPi / kSecPerDay;
  return std::cbrt(Mu() / (n_rad_s * n_rad_s));
}

double AToN(double semiMajorAxis) {
  if (!(std::isfinite(semiMajorAxis) && semiMajorAxis > 0.0)) {
    engine::fail("AToN: semi-major axis " + Num(semiMajorAxis) +
                 " km is not a positive finite number");
    return 0.0;
  }
  const double n_rad_s = std::sqrt(Mu() / (semiMajorAxis * semiMajorAxis * semiMajorAxis));
  return n_rad_s * kSecPerDay / kTwoPi;
}

int KepToPosVel(const double kep[6], double pos[3], double vel[3]) {
  const auto outs = {std::span<double>(pos, 3), std::span<double>(vel, 3)};
  if (!AllFinite({kep, 6})) return Fail("KepToPosVel", "an element is not a finite number", outs);
  const double a_km = kep[XA_KEP_A], e = kep[XA_KEP_E];
  if (!(e >= 0.0 && e < 1.0))
    return Fail("KepToPosVel", "eccentricity " + Num(e) + " out of range [0, 1)", outs);
  if (!(a_km > 0.0))
    return Fail("KepToPosVel", "semi-major axis " + Num(a_km) + " km is not positive", outs);

  const double ecc_rad = EccentricAnomaly(kep[XA_KEP_MA] * kRadPerDeg, e);
  const double cos_e = std::cos(ecc_rad), sin_e = std::sin(ecc_rad);
  const double sqrt_1me2 = std::sqrt((1.0 - e) * (1.0 + e));
  const double r_km = a_km * (1.0 - e * cos_e);
  // Perifocal frame: P towards perigee, Q 90 degrees ahead in the direction of motion.
  const double p_km = a_km * (cos_e - e), q_km = a_km * sqrt_1me2 * sin_e;
  const double speed_scale = std::sqrt(Mu() * a_km) / r_km;
  const double vp = -speed_scale * sin_e, vq = speed_scale * sqrt_1me2 * cos_e;

  const double node = kep[XA_KEP_NODE] * kRadPerDeg, argp = kep[XA_KEP_OMEGA] * kRadPerDeg;
  const double incl = kep[XA_KEP_INCLI] * kRadPerDeg;
  const double cn = std::cos(node), sn = std::sin(node), cw = std::cos(argp), sw = std::sin(argp);
  const double ci = std::cos(incl), si = std::sin(incl);
  const double p_hat[3] = {cn * cw - sn * sw * ci, sn * cw + cn * sw * ci, sw * si};
  const double q_hat[3] = {-cn * sw - sn * cw * ci, -sn * sw + cn * cw * ci, cw * si};
  for (int k = 0; k < 3; ++k) {
    pos[k] = p_km * p_hat[k] + q_km * q_hat[k];
    vel[k] = vp * p_hat[k] + vq * q_hat[k];
  }
  return 0;
}

int PosVelToKep(const double pos[3], const double vel[3], double kep[6]) {
  const auto outs = {std::span<double>(kep, 6)};
  if (!AllFinite({pos, 3}) || !AllFinite({vel, 3}))
    return Fail("PosVelToKep", "a state component is not a finite number", outs);
  const double r_km = Norm(pos), v_kms = Norm(vel);
  if (r_km == 0.0 || v_kms == 0.0)
    return Fail("PosVelToKep", "position or velocity is the zero vector", outs);
  const double mu = Mu();
  double h[3];
  Cross(pos, vel, h);
  const double h_norm = Norm(h);
  if (h_norm <= 1e-12 * r_km * v_kms)
    return Fail("PosVelToKep", "rectilinear motion (position parallel to velocity)", outs);
  const double energy = 0.5 * v_kms * v_kms - mu / r_km;
  const double rv = Dot(pos, vel);
  double e_vec[3];
  for (int k = 0; k < 3; ++k) e_vec[k] = ((v_kms * v_kms - mu / r_km) * pos[k] - rv * vel[k]) / mu;
  const double e = Norm(e_vec);
  if (!(energy < 0.0) || !(e < 1.0))
    return Fail("PosVelToKep", "orbit is not elliptic (eccentricity " + Num(e) + ")", outs);

  const double h_hat[3] = {h[0] / h_norm, h[1] / h_norm, h[2] / h_norm};
  const double incl = std::atan2(std::hypot(h[0], h[1]), h[2]);
  const bool equatorial = std::hypot(h[0], h[1]) < kEquatorialSinI * h_norm;
  const double node = equatorial ? 0.0 : std::atan2(h[0], -h[1]);
  const double n_hat[3] = {std::cos(node), std::sin(node), 0.0};

  // Angles in the orbit plane measured from `from` to `to` in the direction of motion; for an
  // equatorial orbit the node line is the x axis, so they become true longitudes.
  const auto plane_angle = [&](const double from[3], const double to[3]) {
    double c[3];
    Cross(from, to, c);
    return std::atan2(Dot(c, h_hat), Dot(from, to));
  };

  double argp = 0.0, true_anom = 0.0;
  if (e < kCircularEcc) {
    true_anom = plane_angle(n_hat, pos);  // argument of latitude, perigee put at the node
  } else {
    argp = plane_angle(n_hat, e_vec);
    true_anom = plane_angle(e_vec, pos);
  }
  const double sqrt_1me2 = std::sqrt((1.0 - e) * (1.0 + e));
  const double ecc_rad = std::atan2(sqrt_1me2 * std::sin(true_anom), e + std::cos(true_anom));
  const double mean_anom = ecc_rad - e * std::sin(ecc_rad);

  kep[XA_KEP_A] = -mu / (2.0 * energy);
  kep[XA_KEP_E] = e;
  kep[XA_KEP_INCLI] = incl * kDegPerRad;
  kep[XA_KEP_MA] = WrapTwoPi(mean_anom) * kDegPerRad;
  kep[XA_KEP_NODE] = WrapTwoPi(node) * kDegPerRad;
  kep[XA_KEP_OMEGA] = WrapTwoPi(argp) * kDegPerRad;
  return 0;
}

int KepToEqnx(const double kep[6], double eqnx[6]) {
  const auto outs = {std::span<double>(eqnx, 6)};
  if (!AllFinite({kep, 6})) return Fail("KepToEqnx", "an element is not a finite number", outs);
  const double e = kep[XA_KEP_E];
  if (!(e >= 0.0 && e < 1.0))
    return Fail("KepToEqnx", "eccentricity " + Num(e) + " out of range [0, 1)", outs);
  const double incl_deg = kep[XA_KEP_INCLI];
  // The direct set is singular at i = 180 deg, where tan(i/2) is infinite.
  if (!(incl_deg >= 0.0 && incl_deg < 180.0))
    return Fail("KepToEqnx", "inclination " + Num(incl_deg) + " deg out of range [0, 180)", outs);
  const double n_rev_day = AToN(kep[XA_KEP_A]);
  if (n_rev_day == 0.0) return Fail("KepToEqnx", "semi-major axis not positive", outs);
  const double node = kep[XA_KEP_NODE] * kRadPerDeg;
  const double lon_peri = node + kep[XA_KEP_OMEGA] * kRadPerDeg;
  const double tan_half_i = std::tan(0.5 * incl_deg * kRadPerDeg);
  eqnx[XA_EQNX_AF] = e * std::cos(lon_peri);
  eqnx[XA_EQNX_AG] = e * std::sin(lon_peri);
  eqnx[XA_EQNX_CHI] = tan_half_i * std::sin(node);
  eqnx[XA_EQNX_PSI] = tan_half_i * std::cos(node);
  eqnx[XA_EQNX_L] = WrapDeg360(kep[XA_KEP_MA] + kep[XA_KEP_NODE] + kep[XA_KEP_OMEGA]);
  eqnx[XA_EQNX_N] = n_rev_day;
  return 0;
}

int EqnxToKep(const double eqnx[6], double kep[6]) {
  const auto outs = {std::span<double>(kep, 6)};
  if (!AllFinite({eqnx, 6})) return Fail("EqnxToKep", "an element is not a finite number", outs);
  const double e = std::hypot(eqnx[XA_EQNX_AF], eqnx[XA_EQNX_AG]);
  if (!(e < 1.0)) return Fail("EqnxToKep", "eccentricity " + Num(e) + " is not below 1", outs);
  const double a_km = NToA(eqnx[XA_EQNX_N]);
  if (a_km == 0.0) return Fail("EqnxToKep", "mean motion not positive", outs);
  const double tan_half_i = std::hypot(eqnx[XA_EQNX_CHI], eqnx[XA_EQNX_PSI]);
  // Same conventions as PosVelToKep: no node for an equatorial orbit, no perigee for a circular.
  const double node =
      tan_half_i < 0.5 * kEquatorialSinI ? 0.0 : std::atan2(eqnx[XA_EQNX_CHI], eqnx[XA_EQNX_PSI]);
  const double lon_peri = e < kCircularEcc ? node : std::atan2(eqnx[XA_EQNX_AG], eqnx[XA_EQNX_AF]);
  kep[XA_KEP_A] = a_km;
  kep[XA_KEP_E] = e;
  kep[XA_KEP_INCLI] = 2.0 * std::atan(tan_half_i) * kDegPerRad;
  kep[XA_KEP_NODE] = WrapTwoPi(node) * kDegPerRad;
  kep[XA_KEP_OMEGA] = WrapTwoPi(lon_peri - node) * kDegPerRad;
  kep[XA_KEP_MA] = WrapDeg360(eqnx[XA_EQNX_L] - lon_peri * kDegPerRad);
  return 0;
}

}  // extern "C"
