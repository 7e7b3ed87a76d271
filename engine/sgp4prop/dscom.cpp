// dscom: the lunar and solar terms common to the deep-space routines (Hoots and Roehrich 1980,
// Section 10, DEEP "entrance for deep space initialization"; Vallado et al. 2006, dscom).
#include <cmath>
#include <numbers>

#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Constants of the Sun's and the Moon's orbits of the theory.
constexpr double kZes = 0.01675;  // solar eccentricity
constexpr double kZel = 0.05490;  // lunar eccentricity
constexpr double kC1ss = 2.9864797e-6;
constexpr double kC1l = 4.7968065e-7;
constexpr double kZsinis = 0.39785416;  // sine and cosine of the ecliptic's obliquity
constexpr double kZcosis = 0.91744867;
constexpr double kZcosgs = 0.1945905;  // solar perigee
constexpr double kZsings = -0.98088458;

BodyTerms Terms(double zcosg, double zsing, double zcosi, double zsini, double zcosh, double zsinh,
                double cc, double xnoi, double cosim, double sinim, double cosomm, double sinomm,
                double em, double emsq, double betasq, double rtemsq) {
  const double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
  const double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
  const double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
  const double a8 = zsing * zsini;
  const double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
  const double a10 = zcosg * zsini;
  const double a2 = cosim * a7 + sinim * a8;
  const double a4 = cosim * a9 + sinim * a10;
  const double a5 = -sinim * a7 + cosim * a8;
  const double a6 = -sinim * a9 + cosim * a10;

  const double x1 = a1 * cosomm + a2 * sinomm;
  const double x2 = a3 * cosomm + a4 * sinomm;
  const double x3 = -a1 * sinomm + a2 * cosomm;
  const double x4 = -a3 * sinomm + a4 * cosomm;
  const double x5 = a5 * sinomm;
  const double x6 = a6 * sinomm;
  const double x7 = a5 * cosomm;
  const double x8 = a6 * cosomm;

  BodyTerms t{};
  t.z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
  t.z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
  t.z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
  t.z1 = 3.0 * (a1 * a1 + a2 * a2) + t.z31 * emsq;
  t.z2 = 6.0 * (a1 * a3 + a2 * a4) + t.z32 * emsq;
  t.z3 = 3.0 * (a3 * a3 + a4 * a4) + t.z33 * emsq;
  t.z11 = -6.0 * a1 * a5 + emsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
  t.z12 =
      -6.0 * (a1 * a6 + a3 * a5) + emsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
  t.z13 = -6.0 * a3 * a6 + emsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
  t.z21 = 6.0 * a2 * a5 + emsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
  t.z22 =
      6.0 * (a4 * a5 + a2 * a6) + emsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
  t.z23 = 6.0 * a4 * a6 + emsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
  t.z1 = t.z1 + t.z1 + betasq * t.z31;
  t.z2 = t.z2 + t.z2 + betasq * t.z32;
  t.z3 = t.z3 + t.z3 + betasq * t.z33;
  t.s3 = cc * xnoi;
  t.s2 = -0.5 * t.s3 / rtemsq;
  t.s4 = t.s3 * rtemsq;
  t.s1 = -15.0 * em * t.s4;
  t.s5 = x1 * x3 + x2 * x4;
  t.s6 = x2 * x3 + x1 * x4;
  t.s7 = x2 * x4 - x1 * x3;
  return t;
}

}  // namespace

void DsCom(double epoch_ds50, double ep, double argpp, double tc, double inclp, double nodep,
           double np, DsComOut& o, LunarSolar& ls) {
  o.nm = np;
  o.em = ep;
  o.snodm = std::sin(nodep);
  o.cnodm = std::cos(nodep);
  o.sinomm = std::sin(argpp);
  o.cosomm = std::cos(argpp);
  o.sinim = std::sin(inclp);
  o.cosim = std::cos(inclp);
  o.emsq = o.em * o.em;
  const double betasq = 1.0 - o.emsq;
  o.rtemsq = std::sqrt(betasq);

  // The Moon's node and orbit at the epoch, from days since 1900 January 0.5.
  o.day = epoch_ds50 + 18261.5 + tc / 1440.0;
  const double xnodce = std::fmod(4.5236020 - 9.2422029e-4 * o.day, kTwoPi);
  const double stem = std::sin(xnodce);
  const double ctem = std::cos(xnodce);
  const double zcosil = 0.91375164 - 0.03568096 * ctem;
  const double zsinil = std::sqrt(1.0 - zcosil * zcosil);
  const double zsinhl = 0.089683511 * stem / zsinil;
  const double zcoshl = std::sqrt(1.0 - zsinhl * zsinhl);
  o.gam = 5.8351514 + 0.0019443680 * o.day;
  double zx = 0.39785416 * stem / zsinil;
  const double zy = zcoshl * ctem + 0.91744867 * zsinhl * stem;
  zx = std::atan2(zx, zy);
  zx = o.gam + zx - xnodce;
  const double zcosgl = std::cos(zx);
  const double zsingl = std::sin(zx);

  const double xnoi = 1.0 / o.nm;
  // The Sun, on the ecliptic, with the satellite's node...
  const BodyTerms sun = Terms(kZcosgs, kZsings, kZcosis, kZsinis, o.cnodm, o.snodm, kC1ss, xnoi,
                              o.cosim, o.sinim, o.cosomm, o.sinomm, o.em, o.emsq, betasq, o.rtemsq);
  // ...then the Moon, on its own orbit, with the node measured from the Moon's.
  const double zcosh = zcoshl * o.cnodm + zsinhl * o.snodm;
  const double zsinh = o.snodm * zcoshl - o.cnodm * zsinhl;
  const BodyTerms moon = Terms(zcosgl, zsingl, zcosil, zsinil, zcosh, zsinh, kC1l, xnoi, o.cosim,
                               o.sinim, o.cosomm, o.sinomm, o.em, o.emsq, betasq, o.rtemsq);

  o.sun = sun;
  o.moon = moon;

  // Mean anomalies of the Moon and the Sun at the epoch.
  ls.zmol = std::fmod(4.7199672 + 0.22997150 * o.day - o.gam, kTwoPi);
  ls.zmos = std::fmod(6.2565837 + 0.017201977 * o.day, kTwoPi);

  // Solar periodic coefficients.
  ls.se2 = 2.0 * sun.s1 * sun.s6;
  ls.se3 = 2.0 * sun.s1 * sun.s7;
  ls.si2 = 2.0 * sun.s2 * sun.z12;
  ls.si3 = 2.0 * sun.s2 * (sun.z13 - sun.z11);
  ls.sl2 = -2.0 * sun.s3 * sun.z2;
  ls.sl3 = -2.0 * sun.s3 * (sun.z3 - sun.z1);
  ls.sl4 = -2.0 * sun.s3 * (-21.0 - 9.0 * o.emsq) * kZes;
  ls.sgh2 = 2.0 * sun.s4 * sun.z32;
  ls.sgh3 = 2.0 * sun.s4 * (sun.z33 - sun.z31);
  ls.sgh4 = -18.0 * sun.s4 * kZes;
  ls.sh2 = -2.0 * sun.s2 * sun.z22;
  ls.sh3 = -2.0 * sun.s2 * (sun.z23 - sun.z21);
  // Lunar periodic coefficients.
  ls.ee2 = 2.0 * moon.s1 * moon.s6;
  ls.e3 = 2.0 * moon.s1 * moon.s7;
  ls.xi2 = 2.0 * moon.s2 * moon.z12;
  ls.xi3 = 2.0 * moon.s2 * (moon.z13 - moon.z11);
  ls.xl2 = -2.0 * moon.s3 * moon.z2;
  ls.xl3 = -2.0 * moon.s3 * (moon.z3 - moon.z1);
  ls.xl4 = -2.0 * moon.s3 * (-21.0 - 9.0 * o.emsq) * kZel;
  ls.xgh2 = 2.0 * moon.s4 * moon.z32;
  ls.xgh3 = 2.0 * moon.s4 * (moon.z33 - moon.z31);
  ls.xgh4 = -18.0 * moon.s4 * kZel;
  ls.xh2 = -2.0 * moon.s2 * moon.z22;
  ls.xh3 = -2.0 * moon.s2 * (moon.z23 - moon.z21);
}

}  // namespace sgp4
