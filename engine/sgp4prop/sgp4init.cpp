// sgp4init and initl: the epoch quantities of SGP4/SDP4 (Hoots and Roehrich 1980, Sections 6
// and 10; Vallado et al. 2006, sgp4init and initl).
#include <cmath>
#include <numbers>

#include "engine/envconst.h"
#include "engine/timefunc.h"
#include "sgp4prop/sgp4_record.hpp"

namespace sgp4 {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kX2o3 = 2.0 / 3.0;

// The theory's own WGS-72 values (Vallado et al. 2006, getgravconst "wgs72"), used when the
// library is loaded with another Earth model in force.
Gravity FromConstants(double radius_km, double xke, double j2, double j3, double j4) {
  return Gravity{radius_km, xke, j2, j3, j4, j3 / j2, radius_km * xke / 60.0};
}

Gravity LoadWgs72() {
  // NOTE: SGP4's mean elements are fitted with WGS-72, so the theory keeps WGS-72 whatever model
  // envconst has in force later. envconst starts in WGS-72; when it is still in force here we
  // take its values (the same numbers), otherwise the paper's.
  if (EnvGetGeoIdx() == XF_GEOMOD_WGS72) {
    return FromConstants(EnvGetGeoConst(XF_GEOCON_KMPER), EnvGetGeoConst(XF_GEOCON_KE),
                         EnvGetGeoConst(XF_GEOCON_J2), EnvGetGeoConst(XF_GEOCON_J3),
                         EnvGetGeoConst(XF_GEOCON_J4));
  }
  const double radius_km = 6378.135, mu = 398600.8;
  return FromConstants(radius_km, 60.0 / std::sqrt(radius_km * radius_km * radius_km / mu),
                       0.001082616, -0.00000253881, -0.00000165597);
}

// Greenwich angle at epoch. The Air Force form of the 1970-based sidereal time: our FK4 angle
// (timefunc) plus the small quadratic term of that form (5.07551419432269442e-15 rad per day
// squared since 1970 January 0.0). Leaving the term out moves resonant deep-space orbits of the
// verification set by up to 5 cm.
double Gsto(double epoch_ds50) {
  constexpr double kFk5r = 5.07551419432269442e-15;
  const double ts70 = epoch_ds50 - 7305.0;
  double gsto = std::fmod(ThetaGrnwchFK4(epoch_ds50) + ts70 * ts70 * kFk5r, kTwoPi);
  if (gsto < 0.0) gsto += kTwoPi;
  return gsto;
}

}  // namespace

const Gravity& Wgs72() {
  static const Gravity grav = LoadWgs72();
  return grav;
}

double UnKozai(double no_kozai, double ecco, double inclo) {
  const Gravity& g = Wgs72();
  const double cosio = std::cos(inclo);
  const double omeosq = 1.0 - ecco * ecco;
  const double rteosq = std::sqrt(omeosq);
  const double ak = std::pow(g.xke / no_kozai, kX2o3);
  const double d1 = 0.75 * g.j2 * (3.0 * cosio * cosio - 1.0) / (rteosq * omeosq);
  double del = d1 / (ak * ak);
  const double adel = ak * (1.0 - del * del - del * (1.0 / 3.0 + 134.0 * del * del / 81.0));
  del = d1 / (adel * adel);
  return no_kozai / (1.0 + del);
}

double ReKozai(double no_unkozai, double ecco, double inclo) {
  // UnKozai is smooth and close to the identity (the ratio differs from 1 by about J2), so a
  // fixed-point iteration on the ratio converges to rounding in a few steps.
  double no_kozai = no_unkozai;
  for (int i = 0; i < 30; ++i) {
    const double next = no_kozai * no_unkozai / UnKozai(no_kozai, ecco, inclo);
    if (std::fabs(next - no_kozai) <= 1e-15 * std::fabs(no_kozai)) return next;
    no_kozai = next;
  }
  return no_kozai;
}

int Sgp4Init(const MeanElements& el, std::int64_t satnum, Record& rec) {
  const Gravity& g = Wgs72();
  rec = Record{};
  rec.grav = g;
  rec.satnum = satnum;
  rec.epoch_ds50_utc = el.epoch_ds50_utc;
  rec.bstar = el.bstar;
  rec.ecco = el.ecco;
  rec.argpo = el.argpo;
  rec.inclo = el.inclo;
  rec.mo = el.mo;
  rec.nodeo = el.nodeo;
  if (!(el.ecco >= 0.0 && el.ecco < 1.0)) return kMeanEccentricity;
  if (!(el.no_kozai > 0.0)) return kMeanMotion;

  // ---- initl: Brouwer mean motion and the epoch geometry ----
  const double eccsq = el.ecco * el.ecco;
  const double omeosq = 1.0 - eccsq;
  const double rteosq = std::sqrt(omeosq);
  const double cosio = std::cos(el.inclo);
  const double cosio2 = cosio * cosio;
  rec.no_unkozai = UnKozai(el.no_kozai, el.ecco, el.inclo);
  const double no = rec.no_unkozai;
  rec.ao = std::pow(g.xke / no, kX2o3);
  const double ao = rec.ao;
  const double sinio = std::sin(el.inclo);
  const double po = ao * omeosq;
  const double con42 = 1.0 - 5.0 * cosio2;
  rec.con41 = -con42 - cosio2 - cosio2;
  const double posq = po * po;
  const double rp = ao * (1.0 - el.ecco);

  // ---- sgp4init ----
  const double ss = 78.0 / g.radius_km + 1.0;
  const double qzms2t = std::pow((120.0 - 78.0) / g.radius_km, 4);
  constexpr double kTemp4 = 1.5e-12;

  // Perigee below 220 km: the drag terms of order t^3 and higher are left out.
  rec.isimp = rp < 220.0 / g.radius_km + 1.0;
  // The density parameter s and (q0 - s)^4, adjusted for perigees below 156 km.
  double sfour = ss;
  double qzms24 = qzms2t;
  const double perige_km = (rp - 1.0) * g.radius_km;
  if (perige_km < 156.0) {
    sfour = perige_km - 78.0;
    if (perige_km < 98.0) sfour = 20.0;
    qzms24 = std::pow((120.0 - sfour) / g.radius_km, 4);
    sfour = sfour / g.radius_km + 1.0;
  }
  const double pinvsq = 1.0 / posq;
  const double tsi = 1.0 / (ao - sfour);
  rec.eta = ao * el.ecco * tsi;
  const double etasq = rec.eta * rec.eta;
  const double eeta = el.ecco * rec.eta;
  const double psisq = std::fabs(1.0 - etasq);
  const double coef = qzms24 * std::pow(tsi, 4);
  const double coef1 = coef / std::pow(psisq, 3.5);
  const double cc2 = coef1 * no *
                     (ao * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                      0.375 * g.j2 * tsi / psisq * rec.con41 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
  rec.cc1 = el.bstar * cc2;
  double cc3 = 0.0;
  if (el.ecco > 1.0e-4) cc3 = -2.0 * coef * tsi * g.j3oj2 * no * sinio / el.ecco;
  rec.x1mth2 = 1.0 - cosio2;
  rec.cc4 =
      2.0 * no * coef1 * ao * omeosq *
      (rec.eta * (2.0 + 0.5 * etasq) + el.ecco * (0.5 + 2.0 * etasq) -
       g.j2 * tsi / (ao * psisq) *
           (-3.0 * rec.con41 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
            0.75 * rec.x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * std::cos(2.0 * el.argpo)));
  rec.cc5 = 2.0 * coef1 * ao * omeosq * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
  const double cosio4 = cosio2 * cosio2;
  const double temp1 = 1.5 * g.j2 * pinvsq * no;
  const double temp2 = 0.5 * temp1 * g.j2 * pinvsq;
  const double temp3 = -0.46875 * g.j4 * pinvsq * pinvsq * no;
  rec.mdot = no + 0.5 * temp1 * rteosq * rec.con41 +
             0.0625 * temp2 * rteosq * (13.0 - 78.0 * cosio2 + 137.0 * cosio4);
  rec.argpdot = -0.5 * temp1 * con42 + 0.0625 * temp2 * (7.0 - 114.0 * cosio2 + 395.0 * cosio4) +
                temp3 * (3.0 - 36.0 * cosio2 + 49.0 * cosio4);
  const double xhdot1 = -temp1 * cosio;
  rec.nodedot =
      xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * cosio2) + 2.0 * temp3 * (3.0 - 7.0 * cosio2)) * cosio;
  const double xpidot = rec.argpdot + rec.nodedot;
  rec.omgcof = el.bstar * cc3 * std::cos(el.argpo);
  rec.xmcof = 0.0;
  if (el.ecco > 1.0e-4) rec.xmcof = -kX2o3 * coef * el.bstar / eeta;
  rec.nodecf = 3.5 * omeosq * xhdot1 * rec.cc1;
  rec.t2cof = 1.5 * rec.cc1;
  // The 1 + cos i divisor of the long-period term is kept away from zero (retrograde equatorial).
  const double one_plus_cosio = std::fabs(cosio + 1.0) > kTemp4 ? 1.0 + cosio : kTemp4;
  rec.xlcof = -0.25 * g.j3oj2 * sinio * (3.0 + 5.0 * cosio) / one_plus_cosio;
  rec.aycof = -0.5 * g.j3oj2 * sinio;
  const double delmotemp = 1.0 + rec.eta * std::cos(el.mo);
  rec.delmo = delmotemp * delmotemp * delmotemp;
  rec.sinmao = std::sin(el.mo);
  rec.x7thm1 = 7.0 * cosio2 - 1.0;
  rec.sinio = sinio;
  rec.cosio = cosio;

  // ---- deep space: periods of 225 minutes and more ----
  if (kTwoPi / no >= 225.0) {
    rec.deep_space = true;
    rec.isimp = true;
    rec.ds.gsto = Gsto(el.epoch_ds50_utc);
    DsComOut com{};
    DsCom(el.epoch_ds50_utc, el.ecco, el.argpo, 0.0, el.inclo, el.nodeo, no, com, rec.ds.ls);
    DsInit(g, com, rec, eccsq, xpidot, rec.ds);
    DsResonanceSteps(rec);
  }

  if (!rec.isimp) {
    const double cc1sq = rec.cc1 * rec.cc1;
    rec.d2 = 4.0 * ao * tsi * cc1sq;
    const double temp = rec.d2 * tsi * rec.cc1 / 3.0;
    rec.d3 = (17.0 * ao + sfour) * temp;
    rec.d4 = 0.5 * temp * ao * tsi * (221.0 * ao + 31.0 * sfour) * rec.cc1;
    rec.t3cof = rec.d2 + 2.0 * cc1sq;
    rec.t4cof = 0.25 * (3.0 * rec.d3 + rec.cc1 * (12.0 * rec.d2 + 10.0 * cc1sq));
    rec.t5cof = 0.2 * (3.0 * rec.d4 + 12.0 * rec.cc1 * rec.d3 + 6.0 * rec.d2 * rec.d2 +
                       15.0 * cc1sq * (2.0 * rec.d2 + cc1sq));
  }
  // NOTE: the paper's error 5 (perigee below the surface at epoch) is not raised: the decay
  // test of sgp4 (error 6) covers such orbits at the times they are propagated to, as in the
  // 2006 revision.
  return kOk;
}

}  // namespace sgp4
