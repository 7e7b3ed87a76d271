// dsinit: secular lunar-solar rates and the resonance terms of the deep-space theory (Hoots and
// Roehrich 1980, Section 10, DEEP "entrance for deep space initialization"; Vallado et al. 2006,
// dsinit).
#include <cmath>
#include <numbers>

#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kX2o3 = 2.0 / 3.0;
constexpr double kZns = 1.19459e-5;
constexpr double kZnl = 1.5835218e-4;
constexpr double kRptim = 4.37526908801129966e-3;  // Earth rotation, rad/min
// Tesseral-harmonic coefficients of the resonance terms.
constexpr double kQ22 = 1.7891679e-6, kQ31 = 2.1460748e-6, kQ33 = 2.2123015e-7;
constexpr double kRoot22 = 1.7891679e-6, kRoot44 = 7.3636953e-9, kRoot54 = 2.1765803e-9;
constexpr double kRoot32 = 3.7393792e-7, kRoot52 = 1.1428639e-7;
// Below 3 degrees of inclination (or above 177) the node rates of the Sun and the Moon are
// dropped: the 1/sin i of the node equation would blow up.
constexpr double kLowInclination = 5.2359877e-2;

// Half-day resonance (12-hour orbits with e >= 0.5): the eccentricity functions G and the
// coefficients D of Hoots and Roehrich, fitted in e.
void HalfDay(double em, double emsq, double cosim, double sinim, double nm, double aonv,
             Resonance& r) {
  const double cosisq = cosim * cosim;
  const double eoc = em * emsq;
  const double g201 = -0.306 - (em - 0.64) * 0.440;
  double g211, g310, g322, g410, g422, g520, g521, g532, g533;
  if (em <= 0.65) {
    g211 = 3.616 - 13.2470 * em + 16.2900 * emsq;
    g310 = -19.302 + 117.3900 * em - 228.4190 * emsq + 156.5910 * eoc;
    g322 = -18.9068 + 109.7927 * em - 214.6334 * emsq + 146.5816 * eoc;
    g410 = -41.122 + 242.6940 * em - 471.0940 * emsq + 313.9530 * eoc;
    g422 = -146.407 + 841.8800 * em - 1629.014 * emsq + 1083.4350 * eoc;
    g520 = -532.114 + 3017.977 * em - 5740.032 * emsq + 3708.2760 * eoc;
  } else {
    g211 = -72.099 + 331.819 * em - 508.738 * emsq + 266.724 * eoc;
    g310 = -346.844 + 1582.851 * em - 2415.925 * emsq + 1246.113 * eoc;
    g322 = -342.585 + 1554.908 * em - 2366.899 * emsq + 1215.972 * eoc;
    g410 = -1052.797 + 4758.686 * em - 7193.992 * emsq + 3651.957 * eoc;
    g422 = -3581.690 + 16178.110 * em - 24462.770 * emsq + 12422.520 * eoc;
    if (em > 0.715) {
      g520 = -5149.66 + 29936.92 * em - 54087.36 * emsq + 31324.56 * eoc;
    } else {
      g520 = 1464.74 - 4664.75 * em + 3763.64 * emsq;
    }
  }
  if (em < 0.7) {
    g533 = -919.22770 + 4988.6100 * em - 9064.7700 * emsq + 5542.21 * eoc;
    g521 = -822.71072 + 4568.6173 * em - 8491.4146 * emsq + 5337.524 * eoc;
    g532 = -853.66600 + 4690.2500 * em - 8624.7700 * emsq + 5341.4 * eoc;
  } else {
    g533 = -37995.780 + 161616.52 * em - 229838.20 * emsq + 109377.94 * eoc;
    g521 = -51752.104 + 218913.95 * em - 309468.16 * emsq + 146349.42 * eoc;
    g532 = -40023.880 + 170470.89 * em - 242699.48 * emsq + 115605.82 * eoc;
  }

  const double sini2 = sinim * sinim;
  const double f220 = 0.75 * (1.0 + 2.0 * cosim + cosisq);
  const double f221 = 1.5 * sini2;
  const double f321 = 1.875 * sinim * (1.0 - 2.0 * cosim - 3.0 * cosisq);
  const double f322 = -1.875 * sinim * (1.0 + 2.0 * cosim - 3.0 * cosisq);
  const double f441 = 35.0 * sini2 * f220;
  const double f442 = 39.3750 * sini2 * sini2;
  const double f522 = 9.84375 * sinim *
                      (sini2 * (1.0 - 2.0 * cosim - 5.0 * cosisq) +
                       0.33333333 * (-2.0 + 4.0 * cosim + 6.0 * cosisq));
  const double f523 = sinim * (4.92187512 * sini2 * (-2.0 - 4.0 * cosim + 10.0 * cosisq) +
                               6.56250012 * (1.0 + 2.0 * cosim - 3.0 * cosisq));
  const double f542 =
      29.53125 * sinim * (2.0 - 8.0 * cosim + cosisq * (-12.0 + 8.0 * cosim + 10.0 * cosisq));
  const double f543 =
      29.53125 * sinim * (-2.0 - 8.0 * cosim + cosisq * (12.0 + 8.0 * cosim - 10.0 * cosisq));

  const double xno2 = nm * nm;
  const double ainv2 = aonv * aonv;
  double temp1 = 3.0 * xno2 * ainv2;
  double temp = temp1 * kRoot22;
  r.d2201 = temp * f220 * g201;
  r.d2211 = temp * f221 * g211;
  temp1 *= aonv;
  temp = temp1 * kRoot32;
  r.d3210 = temp * f321 * g310;
  r.d3222 = temp * f322 * g322;
  temp1 *= aonv;
  temp = 2.0 * temp1 * kRoot44;
  r.d4410 = temp * f441 * g410;
  r.d4422 = temp * f442 * g422;
  temp1 *= aonv;
  temp = temp1 * kRoot52;
  r.d5220 = temp * f522 * g520;
  r.d5232 = temp * f523 * g532;
  temp = 2.0 * temp1 * kRoot54;
  r.d5421 = temp * f542 * g521;
  r.d5433 = temp * f543 * g533;
}

// One-day (synchronous) resonance.
void OneDay(double emsq, double cosim, double sinim, double nm, double aonv, Resonance& r) {
  const double g200 = 1.0 + emsq * (-2.5 + 0.8125 * emsq);
  const double g310 = 1.0 + 2.0 * emsq;
  const double g300 = 1.0 + emsq * (-6.0 + 6.60937 * emsq);
  const double f220 = 0.75 * (1.0 + cosim) * (1.0 + cosim);
  const double f311 = 0.9375 * sinim * sinim * (1.0 + 3.0 * cosim) - 0.75 * (1.0 + cosim);
  double f330 = 1.0 + cosim;
  f330 = 1.875 * f330 * f330 * f330;
  const double del1 = 3.0 * nm * nm * aonv * aonv;
  r.del2 = 2.0 * del1 * f220 * g200 * kQ22;
  r.del3 = 3.0 * del1 * f330 * g300 * kQ33 * aonv;
  r.del1 = del1 * f311 * g310 * kQ31 * aonv;
}

}  // namespace

void DsInit(const Gravity& grav, const DsComOut& com, const Record& rec, double eccsq,
            double xpidot, DeepSpace& ds) {
  const BodyTerms& sun = com.sun;
  const BodyTerms& moon = com.moon;
  const double nm = com.nm;
  const double em = com.em;
  const double emsq = com.emsq;
  const double inclm = rec.inclo;
  const bool low_incl = inclm < kLowInclination || inclm > kPi - kLowInclination;

  Resonance& r = ds.res;
  r.irez = 0;
  if (nm < 0.0052359877 && nm > 0.0034906585) r.irez = 1;
  if (nm >= 8.26e-3 && nm <= 9.24e-3 && em >= 0.5) r.irez = 2;

  // Solar secular terms.
  const double ses = sun.s1 * kZns * sun.s5;
  const double sis = sun.s2 * kZns * (sun.z11 + sun.z13);
  const double sls = -kZns * sun.s3 * (sun.z1 + sun.z3 - 14.0 - 6.0 * emsq);
  const double sghs = sun.s4 * kZns * (sun.z31 + sun.z33 - 6.0);
  double shs = -kZns * sun.s2 * (sun.z21 + sun.z23);
  if (low_incl) shs = 0.0;
  if (com.sinim != 0.0) shs /= com.sinim;
  const double sgs = sghs - com.cosim * shs;

  // Lunar secular terms, added to the solar ones.
  ds.dedt = ses + moon.s1 * kZnl * moon.s5;
  ds.didt = sis + moon.s2 * kZnl * (moon.z11 + moon.z13);
  ds.dmdt = sls - kZnl * moon.s3 * (moon.z1 + moon.z3 - 14.0 - 6.0 * emsq);
  const double sghl = moon.s4 * kZnl * (moon.z31 + moon.z33 - 6.0);
  double shll = -kZnl * moon.s2 * (moon.z21 + moon.z23);
  if (low_incl) shll = 0.0;
  ds.domdt = sgs + sghl;
  ds.dnodt = shs;
  if (com.sinim != 0.0) {
    ds.domdt -= com.cosim / com.sinim * shll;
    ds.dnodt += shll / com.sinim;
  }

  if (r.irez == 0) return;
  const double theta = std::fmod(ds.gsto, kTwoPi);  // Greenwich angle at epoch (tc = 0)
  const double aonv = std::pow(nm / grav.xke, kX2o3);
  if (r.irez == 2) {
    // The coefficients use the epoch eccentricity.
    HalfDay(rec.ecco, eccsq, com.cosim, com.sinim, nm, aonv, r);
    r.xlamo = std::fmod(rec.mo + rec.nodeo + rec.nodeo - theta - theta, kTwoPi);
    r.xfact = rec.mdot + ds.dmdt + 2.0 * (rec.nodedot + ds.dnodt - kRptim) - rec.no_unkozai;
  } else {
    OneDay(emsq, com.cosim, com.sinim, nm, aonv, r);
    r.xlamo = std::fmod(rec.mo + rec.nodeo + rec.argpo - theta, kTwoPi);
    r.xfact = rec.mdot + xpidot - kRptim + ds.dmdt + ds.domdt + ds.dnodt - rec.no_unkozai;
  }
}

}  // namespace sgp4
