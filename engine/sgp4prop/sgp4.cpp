// sgp4: position and velocity at a time from the initialised record (Hoots and Roehrich 1980,
// Sections 6 and 10; Vallado et al. 2006, sgp4, with the error codes of that paper).
#include <cmath>
#include <numbers>

#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kX2o3 = 2.0 / 3.0;
constexpr double kTemp4 = 1.5e-12;

// What the secular and long-period part hands to Kepler's equation and the short-period part.
struct Stage {
  double am, nm, xincp, nodep, sinip, cosip, con41, x1mth2, x7thm1;
  double axnl, aynl, u;   // Kepler's equation in these variables
  double sineo1, coseo1;  // its solution
};

// Secular gravity and drag, deep-space secular and periodic terms, long-period periodics.
[[gnu::always_inline]] inline int Secular(const Record& rec, double t, Stage& st, MeanState* mean) {
  const Gravity& g = rec.grav;

  // ---- secular gravity and atmospheric drag ----
  const double xmdf = rec.mo + rec.mdot * t;
  const double argpdf = rec.argpo + rec.argpdot * t;
  const double nodedf = rec.nodeo + rec.nodedot * t;
  double argpm = argpdf;
  double mm = xmdf;
  const double t2 = t * t;
  double nodem = nodedf + rec.nodecf * t2;
  double tempa = 1.0 - rec.cc1 * t;
  double tempe = rec.bstar * rec.cc4 * t;
  double templ = rec.t2cof * t2;
  if (!rec.isimp) {
    const double delomg = rec.omgcof * t;
    const double delmtemp = 1.0 + rec.eta * std::cos(xmdf);
    const double delm = rec.xmcof * (delmtemp * delmtemp * delmtemp - rec.delmo);
    const double temp = delomg + delm;
    mm = xmdf + temp;
    argpm = argpdf - temp;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    tempa = tempa - rec.d2 * t2 - rec.d3 * t3 - rec.d4 * t4;
    tempe = tempe + rec.bstar * rec.cc5 * (std::sin(mm) - rec.sinmao);
    templ = templ + rec.t3cof * t3 + t4 * (rec.t4cof + t * rec.t5cof);
  }

  double nm = rec.no_unkozai;
  double em = rec.ecco;
  double inclm = rec.inclo;
  if (rec.deep_space) DsSpace(rec, t, em, argpm, inclm, mm, nodem, nm);

  if (nm <= 0.0) return kMeanMotion;
  // Near Earth the mean motion before drag is the epoch's, whose axis sgp4init keeps.
  const double a_nodrag = rec.deep_space ? std::pow(g.xke / nm, kX2o3) : rec.ao;
  const double am = a_nodrag * tempa * tempa;
  nm = g.xke / (am * std::sqrt(am));
  em -= tempe;
  if (em >= 1.0 || em < -0.001) return kMeanEccentricity;
  if (em < 1.0e-6) em = 1.0e-6;
  mm += rec.no_unkozai * templ;
  double xlm = mm + argpm + nodem;
  nodem = FmodTwoPi(nodem);
  argpm = FmodTwoPi(argpm);
  xlm = FmodTwoPi(xlm);
  mm = FmodTwoPi(xlm - argpm - nodem);
  if (mean != nullptr) *mean = MeanState{am, em, inclm, nodem, argpm, mm, nm};

  // ---- lunar-solar periodics ----
  double ep = em;
  double xincp = inclm;
  double argpp = argpm;
  double nodep = nodem;
  double mp = mm;
  double sinip = rec.sinio;  // inclm is the epoch's unless deep space
  double cosip = rec.cosio;
  double aycof = rec.aycof;
  double xlcof = rec.xlcof;
  double con41 = rec.con41;
  double x1mth2 = rec.x1mth2;
  double x7thm1 = rec.x7thm1;
  if (rec.deep_space) {
    DpPer(rec.ds.ls, t, ep, xincp, nodep, argpp, mp);
    if (xincp < 0.0) {
      xincp = -xincp;
      nodep += kPi;
      argpp -= kPi;
    }
    if (ep < 0.0 || ep > 1.0) return kPerturbedEccentricity;
    // Long-period and short-period coefficients at the perturbed inclination.
    sinip = std::sin(xincp);
    cosip = std::cos(xincp);
    aycof = -0.5 * g.j3oj2 * sinip;
    const double one_plus_cosip = std::fabs(cosip + 1.0) > kTemp4 ? 1.0 + cosip : kTemp4;
    xlcof = -0.25 * g.j3oj2 * sinip * (3.0 + 5.0 * cosip) / one_plus_cosip;
    const double cosisq = cosip * cosip;
    con41 = 3.0 * cosisq - 1.0;
    x1mth2 = 1.0 - cosisq;
    x7thm1 = 7.0 * cosisq - 1.0;
  }

  // ---- long-period periodics ----
  const double axnl = ep * std::cos(argpp);
  double temp = 1.0 / (am * (1.0 - ep * ep));
  const double aynl = ep * std::sin(argpp) + temp * aycof;
  const double xl = mp + argpp + nodep + temp * xlcof * axnl;

  st.am = am;
  st.nm = nm;
  st.xincp = xincp;
  st.nodep = nodep;
  st.sinip = sinip;
  st.cosip = cosip;
  st.con41 = con41;
  st.x1mth2 = x1mth2;
  st.x7thm1 = x7thm1;
  st.axnl = axnl;
  st.aynl = aynl;
  st.u = FmodTwoPi(xl - nodep);
  return kOk;
}

// One Newton step of Kepler's equation from eo1 (sin and cos of eo1 kept for the short-period
// part); false once converged.
[[gnu::always_inline]] inline bool KeplerStep(Stage& st, double& eo1, double& tem5) {
  if (!(std::fabs(tem5) >= 1.0e-12)) return false;
  const double axnl = st.axnl, aynl = st.aynl;
  st.sineo1 = std::sin(eo1);
  st.coseo1 = std::cos(eo1);
  tem5 = 1.0 - st.coseo1 * axnl - st.sineo1 * aynl;
  tem5 = (st.u - aynl * st.coseo1 + axnl * st.sineo1 - eo1) / tem5;
  // Newton steps are limited to 0.95 rad so that highly eccentric orbits converge.
  if (std::fabs(tem5) >= 0.95) tem5 = tem5 > 0.0 ? 0.95 : -0.95;
  eo1 += tem5;
  return true;
}

// Kepler's equation in the variables axnl, aynl: at most 10 Newton steps from u.
[[gnu::always_inline]] inline void Kepler(Stage& st) {
  double eo1 = st.u;
  double tem5 = 9999.9;
  st.sineo1 = st.coseo1 = 0.0;
  for (int ktr = 1; ktr <= 10 && KeplerStep(st, eo1, tem5); ++ktr) {
  }
}

// Short-period periodics and the state.
[[gnu::always_inline]] inline int Periodic(const Record& rec, const Stage& st, double r_km[3],
                                           double v_km_s[3]) {
  const Gravity& g = rec.grav;
  const double am = st.am, nm = st.nm, xincp = st.xincp, nodep = st.nodep;
  const double sinip = st.sinip, cosip = st.cosip;
  const double con41 = st.con41, x1mth2 = st.x1mth2, x7thm1 = st.x7thm1;
  const double axnl = st.axnl, aynl = st.aynl, sineo1 = st.sineo1, coseo1 = st.coseo1;
  double temp;

  // ---- short-period preliminaries ----
  const double ecose = axnl * coseo1 + aynl * sineo1;
  const double esine = axnl * sineo1 - aynl * coseo1;
  const double el2 = axnl * axnl + aynl * aynl;
  const double pl = am * (1.0 - el2);
  if (pl < 0.0) return kSemiLatusRectum;

  const double rl = am * (1.0 - ecose);
  const double rdotl = std::sqrt(am) * esine / rl;
  const double rvdotl = std::sqrt(pl) / rl;
  const double betal = std::sqrt(1.0 - el2);
  temp = esine / (1.0 + betal);
  const double sinu = am / rl * (sineo1 - aynl - axnl * temp);
  const double cosu = am / rl * (coseo1 - axnl + aynl * temp);
  double su = std::atan2(sinu, cosu);
  const double sin2u = (cosu + cosu) * sinu;
  const double cos2u = 1.0 - 2.0 * sinu * sinu;
  temp = 1.0 / pl;
  const double temp1 = 0.5 * g.j2 * temp;
  const double temp2 = temp1 * temp;

  // ---- short-period periodics ----
  const double mrt = rl * (1.0 - 1.5 * temp2 * betal * con41) + 0.5 * temp1 * x1mth2 * cos2u;
  su -= 0.25 * temp2 * x7thm1 * sin2u;
  const double xnode = nodep + 1.5 * temp2 * cosip * sin2u;
  const double xinc = xincp + 1.5 * temp2 * cosip * sinip * cos2u;
  const double mvt = rdotl - nm * temp1 * x1mth2 * sin2u / g.xke;
  const double rvdot = rvdotl + nm * temp1 * (x1mth2 * cos2u + 1.5 * con41) / g.xke;

  // ---- orientation vectors ----
  const double sinsu = std::sin(su);
  const double cossu = std::cos(su);
  const double snod = std::sin(xnode);
  const double cnod = std::cos(xnode);
  const double sini = std::sin(xinc);
  const double cosi = std::cos(xinc);
  const double xmx = -snod * cosi;
  const double xmy = cnod * cosi;
  const double ux = xmx * sinsu + cnod * cossu;
  const double uy = xmy * sinsu + snod * cossu;
  const double uz = sini * sinsu;
  const double vx = xmx * cossu - cnod * sinsu;
  const double vy = xmy * cossu - snod * sinsu;
  const double vz = sini * cossu;

  const double rscale = mrt * g.radius_km;
  r_km[0] = rscale * ux;
  r_km[1] = rscale * uy;
  r_km[2] = rscale * uz;
  v_km_s[0] = (mvt * ux + rvdot * vx) * g.vkmpersec;
  v_km_s[1] = (mvt * uy + rvdot * vy) * g.vkmpersec;
  v_km_s[2] = (mvt * uz + rvdot * vz) * g.vkmpersec;

  // The orbit has decayed when its radius drops below the Earth's.
  if (mrt < 1.0) return kDecayed;
  return kOk;
}

}  // namespace

int Sgp4(const Record& rec, double t, double r_km[3], double v_km_s[3], MeanState* mean) {
  Stage st;
  const int code = Secular(rec, t, st, mean);
  if (code != kOk) return code;
  Kepler(st);
  return Periodic(rec, st, r_km, v_km_s);
}

void Sgp4Lanes(const Record& rec, const double t[kLanes], double r_km[kLanes][3],
               double v_km_s[kLanes][3], int code[kLanes]) {
  Stage st[kLanes];
  bool ok = true;
  for (int i = 0; i < kLanes; ++i) {
    code[i] = Secular(rec, t[i], st[i], nullptr);
    ok = ok && code[i] == kOk;
  }
  if (!ok) {
    for (int i = 0; i < kLanes; ++i) code[i] = Sgp4(rec, t[i], r_km[i], v_km_s[i]);
    return;
  }
  // The Newton iterations interleaved, each step for step as Kepler takes it.
  double eo1[kLanes], tem5[kLanes];
  for (int i = 0; i < kLanes; ++i) {
    eo1[i] = st[i].u;
    tem5[i] = 9999.9;
    st[i].sineo1 = st[i].coseo1 = 0.0;
  }
  for (int ktr = 1; ktr <= 10; ++ktr) {
    bool stepped = false;
    for (int i = 0; i < kLanes; ++i) stepped = KeplerStep(st[i], eo1[i], tem5[i]) || stepped;
    if (!stepped) break;
  }
  for (int i = 0; i < kLanes; ++i) code[i] = Periodic(rec, st[i], r_km[i], v_km_s[i]);
}

}  // namespace sgp4
