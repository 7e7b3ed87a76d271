// dpper: the long-period lunar-solar periodics of the deep-space theory (Hoots and Roehrich 1980,
// Section 10, DEEP "entrance for lunar-solar periodics"; Vallado et al. 2006, dpper).
#include <cmath>
#include <numbers>

#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kZns = 1.19459e-5;    // solar mean motion, rad/min
constexpr double kZes = 0.01675;       // solar eccentricity
constexpr double kZnl = 1.5835218e-4;  // lunar mean motion, rad/min
constexpr double kZel = 0.05490;       // lunar eccentricity

}  // namespace

void DpPer(const LunarSolar& ls, double t, double& ep, double& inclp, double& nodep, double& argpp,
           double& mp) {
  // Solar terms at the Sun's mean anomaly at t.
  double zm = ls.zmos + kZns * t;
  double zf = zm + 2.0 * kZes * std::sin(zm);
  double sinzf = std::sin(zf);
  double f2 = 0.5 * sinzf * sinzf - 0.25;
  double f3 = -0.5 * sinzf * std::cos(zf);
  const double ses = ls.se2 * f2 + ls.se3 * f3;
  const double sis = ls.si2 * f2 + ls.si3 * f3;
  const double sls = ls.sl2 * f2 + ls.sl3 * f3 + ls.sl4 * sinzf;
  const double sghs = ls.sgh2 * f2 + ls.sgh3 * f3 + ls.sgh4 * sinzf;
  const double shs = ls.sh2 * f2 + ls.sh3 * f3;
  // Lunar terms at the Moon's mean anomaly at t.
  zm = ls.zmol + kZnl * t;
  zf = zm + 2.0 * kZel * std::sin(zm);
  sinzf = std::sin(zf);
  f2 = 0.5 * sinzf * sinzf - 0.25;
  f3 = -0.5 * sinzf * std::cos(zf);
  const double sel = ls.ee2 * f2 + ls.e3 * f3;
  const double sil = ls.xi2 * f2 + ls.xi3 * f3;
  const double sll = ls.xl2 * f2 + ls.xl3 * f3 + ls.xl4 * sinzf;
  const double sghl = ls.xgh2 * f2 + ls.xgh3 * f3 + ls.xgh4 * sinzf;
  const double shll = ls.xh2 * f2 + ls.xh3 * f3;

  // NOTE: the 2006 revision subtracts no epoch values of the periodics (they are zero there).
  const double pe = ses + sel;
  const double pinc = sis + sil;
  const double pl = sls + sll;
  double pgh = sghs + sghl;
  double ph = shs + shll;

  inclp += pinc;
  ep += pe;
  const double sinip = std::sin(inclp);
  const double cosip = std::cos(inclp);

  if (inclp >= 0.2) {
    // Periodics applied directly.
    ph /= sinip;
    pgh -= cosip * ph;
    argpp += pgh;
    nodep += ph;
    mp += pl;
    return;
  }

  // Low inclination: Lyddane's modification, through the non-singular variables
  // sin i sin(node), sin i cos(node) and the mean longitude.
  const double sinop = std::sin(nodep);
  const double cosop = std::cos(nodep);
  double alfdp = sinip * sinop;
  double betdp = sinip * cosop;
  const double dalf = ph * cosop + pinc * cosip * sinop;
  const double dbet = -ph * sinop + pinc * cosip * cosop;
  alfdp += dalf;
  betdp += dbet;
  nodep = FmodTwoPi(nodep);
  // NOTE: the node is taken in [0, 2 pi) before and after the arctangent, as the operational
  // code does; the continuity test below then picks the same branch as it. Object 23599 of the
  // verification set (e.g. at 420 minutes) depends on this choice.
  if (nodep < 0.0) nodep += kTwoPi;
  const double xls = mp + argpp + pl + pgh + (cosip - pinc * sinip) * nodep;
  const double xnoh = nodep;
  nodep = std::atan2(alfdp, betdp);
  if (nodep < 0.0) nodep += kTwoPi;
  if (std::fabs(xnoh - nodep) > kPi) {
    if (nodep < xnoh) {
      nodep += kTwoPi;
    } else {
      nodep -= kTwoPi;
    }
  }
  mp += pl;
  argpp = xls - mp - cosip * nodep;
}

}  // namespace sgp4
