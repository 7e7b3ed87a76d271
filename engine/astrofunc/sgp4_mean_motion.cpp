// SGP4's two mean-motion theories. A TLE carries Kozai's mean motion; SGP4's initialisation
// recovers Brouwer's ("un-Kozai") with the first-order J2 correction of Spacetrack Report No. 3
// (Hoots and Roehrich 1980, SGP4 initialisation: a1, delta1, a0, delta0, n0''). The constants are
// the Earth model's ke (Earth radii^1.5 per minute) and k2 = J2/2 (Earth radii^2).
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

constexpr double kMinPerDay = 1440.0;

bool CheckInputs(const char* call, double e, double incl_deg, double n_rev_day) {
  std::string why;
  if (!(std::isfinite(e) && e >= 0.0 && e < 1.0))
    why = "eccentricity " + Num(e) + " out of range [0, 1)";
  else if (!std::isfinite(incl_deg))
    why = "inclination " + Num(incl_deg) + " deg is not a finite number";
  else if (!(std::isfinite(n_rev_day) && n_rev_day > 0.0))
    why = "mean motion " + Num(n_rev_day) + " rev/day is not a positive finite number";
  if (why.empty()) return true;
  engine::fail(std::string(call) + ": " + why);
  return false;
}

// n0'' of SGP4's initialisation from Kozai's n0 (both rad/min).
double UnKozai(double e, double cos_i, double n_kozai_rad_min) {
  const double ke = EnvGetGeoConst(XF_GEOCON_KE);
  const double k2 = EnvGetGeoConst(XF_GEOCON_CK2);
  const double beta0_sq = 1.0 - e * e;
  const double d1 = 1.5 * k2 * (3.0 * cos_i * cos_i - 1.0) / (beta0_sq * std::sqrt(beta0_sq));
  const double a1 = std::pow(ke / n_kozai_rad_min, 2.0 / 3.0);
  const double del1 = d1 / (a1 * a1);
  const double a0 = a1 * (1.0 - del1 * (1.0 / 3.0 + del1 * (1.0 + 134.0 / 81.0 * del1)));
  const double del0 = d1 / (a0 * a0);
  return n_kozai_rad_min / (1.0 + del0);
}

}  // namespace

extern "C" {

double KozaiToBrouwer(double eccen, double incli, double meanMotion) {
  if (!CheckInputs("KozaiToBrouwer", eccen, incli, meanMotion)) return 0.0;
  const double n_rad_min = meanMotion * kTwoPi / kMinPerDay;
  return UnKozai(eccen, std::cos(incli * kRadPerDeg), n_rad_min) * kMinPerDay / kTwoPi;
}

// The inverse has no closed form. The correction is a factor 1/(1 + delta0) with |delta0| of
// order 1e-3 that varies slowly with n, so the fixed point n_k <- n_k * n_b / f(n_k) contracts by
// about |delta0| a step: a handful of steps reach the last bit.
double BrouwerToKozai(double eccen, double incli, double meanMotion) {
  if (!CheckInputs("BrouwerToKozai", eccen, incli, meanMotion)) return 0.0;
  const double cos_i = std::cos(incli * kRadPerDeg);
  const double n_brouwer = meanMotion * kTwoPi / kMinPerDay;
  double n_kozai = n_brouwer;
  for (int iter = 0; iter < 50; ++iter) {
    const double next = n_kozai * n_brouwer / UnKozai(eccen, cos_i, n_kozai);
    const bool done = std::fabs(next - n_kozai) <= 1e-15 * n_kozai;
    n_kozai = next;
    if (done) break;
  }
  if (!(std::isfinite(n_kozai) && n_kozai > 0.0)) {
    engine::fail("BrouwerToKozai: no Kozai mean motion found for Brouwer mean motion " +
                 Num(meanMotion) + " rev/day");
    return 0.0;
  }
  return n_kozai * kMinPerDay / kTwoPi;
}

}  // extern "C"
