// The frame calls of the C surface: TEME <-> EFG <-> ECR with the timing constants, J2000 <-> TEME
// of date, and RA/Dec between TEME of date and a mean equinox.
#include <cmath>
#include <string>

#include "astrofunc/common.hpp"
#include "astrofunc/earth_orientation.hpp"
#include "astrofunc/earth_rotation.hpp"
#include "astrofunc/fk5_reduction.hpp"
#include "engine/astrofunc.h"
#include "engine/envconst.h"

namespace {

using namespace astrofunc;

using StepFn = void (*)(double, double, const double*, const double*, double*, double*);

bool InputsFinite(const double a[3], const double b[3]) {
  return AllFinite({a, 3}) && AllFinite({b, 3});
}

// The Earth's rotation rate is the model's nominal one: the length-of-day excess (~1e-8 of the
// rate) changes an Earth-fixed velocity by about 1e-5 m/s and is neglected.
int EarthRotationStep(const char* call, StepFn step, double ds50_utc, const double pos_in[3],
                      const double vel_in[3], double pos_out[3], double vel_out[3]) {
  const auto outs = {std::span<double>(pos_out, 3), std::span<double>(vel_out, 3)};
  if (!InputsFinite(pos_in, vel_in)) return Fail(call, "a state component is not finite", outs);
  double gmst_rad = 0.0;
  std::string why;
  if (!GmstOfUtc(ds50_utc, &gmst_rad, &why)) return Fail(call, why, outs);
  step(gmst_rad, EnvGetGeoConst(XF_GEOCON_THDOT), pos_in, vel_in, pos_out, vel_out);
  return 0;
}

int PolarMotionStep(const char* call, StepFn step, double ds50_utc, const double pos_in[3],
                    const double vel_in[3], double pos_out[3], double vel_out[3]) {
  const auto outs = {std::span<double>(pos_out, 3), std::span<double>(vel_out, 3)};
  if (!InputsFinite(pos_in, vel_in)) return Fail(call, "a state component is not finite", outs);
  double xp_rad = 0.0, yp_rad = 0.0;
  std::string why;
  if (!PolarMotionOfUtc(ds50_utc, &xp_rad, &yp_rad, &why)) return Fail(call, why, outs);
  step(xp_rad, yp_rad, pos_in, vel_in, pos_out, vel_out);
  return 0;
}

bool CheckNutationTerms(const char* call, int nutation_terms,
                        std::initializer_list<std::span<double>> outs) {
  if (nutation_terms >= 1 && nutation_terms <= 106) return true;
  Fail(call,
       "number of nutation terms " + std::to_string(nutation_terms) + " out of range [1, 106]",
       outs);
  return false;
}

// The precession and nutation rates (below 1e-11 rad/s) are left out of the velocity: at
// 42000 km they change it by less than 1e-6 m/s.
int J2000Step(const char* call, bool to_date, int nutation_terms, double ds50_tai,
              const double pos_in[3], const double vel_in[3], double pos_out[3],
              double vel_out[3]) {
  const auto outs = {std::span<double>(pos_out, 3), std::span<double>(vel_out, 3)};
  if (!CheckNutationTerms(call, nutation_terms, outs)) return 1;
  if (!InputsFinite(pos_in, vel_in)) return Fail(call, "a state component is not finite", outs);
  if (!std::isfinite(ds50_tai))
    return Fail(call, "TAI day count " + Num(ds50_tai) + " is not a finite number", outs);
  double jd1 = 0.0, jd2 = 0.0, m[3][3];
  TtJdOfTai(ds50_tai, &jd1, &jd2);
  J2000ToTemeMatrix(jd1, jd2, m);
  if (to_date) {
    MatVec(m, pos_in, pos_out);
    MatVec(m, vel_in, vel_out);
  } else {
    MatTVec(m, pos_in, pos_out);
    MatTVec(m, vel_in, vel_out);
  }
  return 0;
}

int RotateRaDec(const char* call, bool to_date, int nutation_terms, int yr_of_equinox,
                double ds50_utc, double ra_deg, double dec_deg, double* ra_out, double* dec_out) {
  const auto outs = {std::span<double>(ra_out, 1), std::span<double>(dec_out, 1)};
  if (!CheckNutationTerms(call, nutation_terms, outs)) return 1;
  if (yr_of_equinox != YROFEQNX_CURR && yr_of_equinox != YROFEQNX_2000)
    return Fail(call,
                "year-of-equinox code " + std::to_string(yr_of_equinox) +
                    " is neither 1 (mean of date) nor 2 (J2000)",
                outs);
  if (!std::isfinite(ra_deg) || !std::isfinite(dec_deg))
    return Fail(call, "right ascension or declination is not finite", outs);
  double ds50_tai = 0.0;
  std::string why;
  if (!TaiOfUtc(ds50_utc, &ds50_tai, &why)) return Fail(call, why, outs);
  double jd1 = 0.0, jd2 = 0.0, m[3][3];
  TtJdOfTai(ds50_tai, &jd1, &jd2);
  if (yr_of_equinox == YROFEQNX_2000)
    J2000ToTemeMatrix(jd1, jd2, m);
  else
    MeanOfDateToTemeMatrix(jd1, jd2, m);
  double u_in[3], u_out[3];
  eraS2c(ra_deg * kRadPerDeg, dec_deg * kRadPerDeg, u_in);
  if (to_date)
    MatVec(m, u_in, u_out);
  else
    MatTVec(m, u_in, u_out);
  double ra_rad = 0.0, dec_rad = 0.0;
  eraC2s(u_out, &ra_rad, &dec_rad);
  *ra_out = WrapTwoPi(ra_rad) * kDegPerRad;
  *dec_out = dec_rad * kDegPerRad;
  return 0;
}

}  // namespace

extern "C" {

int ECIToEFGTime(double ds50UTC, const double posECI[3], const double velECI[3], double posEFG[3],
                 double velEFG[3]) {
  return EarthRotationStep("ECIToEFGTime", TemeToPef, ds50UTC, posECI, velECI, posEFG, velEFG);
}

int EFGToECITime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECI[3],
                 double velECI[3]) {
  return EarthRotationStep("EFGToECITime", PefToTeme, ds50UTC, posEFG, velEFG, posECI, velECI);
}

int EFGToECRTime(double ds50UTC, const double posEFG[3], const double velEFG[3], double posECR[3],
                 double velECR[3]) {
  return PolarMotionStep("EFGToECRTime", PefToItrf, ds50UTC, posEFG, velEFG, posECR, velECR);
}

int ECRToEFGTime(double ds50UTC, const double posECR[3], const double velECR[3], double posEFG[3],
                 double velEFG[3]) {
  return PolarMotionStep("ECRToEFGTime", ItrfToPef, ds50UTC, posECR, velECR, posEFG, velEFG);
}

int RotJ2KToDate(int /*spectr*/, int nutationTerms, double ds50TAI, const double posJ2K[3],
                 const double velJ2K[3], double posDate[3], double velDate[3]) {
  return J2000Step("RotJ2KToDate", true, nutationTerms, ds50TAI, posJ2K, velJ2K, posDate, velDate);
}

int RotDateToJ2K(int /*spectr*/, int nutationTerms, double ds50TAI, const double posDate[3],
                 const double velDate[3], double posJ2K[3], double velJ2K[3]) {
  return J2000Step("RotDateToJ2K", false, nutationTerms, ds50TAI, posDate, velDate, posJ2K, velJ2K);
}

int RotRADec_DateToEqnx(int nutationTerms, int yrOfEquinox, double ds50UTC, double raIn,
                        double decIn, double* raOut, double* decOut) {
  return RotateRaDec("RotRADec_DateToEqnx", false, nutationTerms, yrOfEquinox, ds50UTC, raIn, decIn,
                     raOut, decOut);
}

int RotRADec_EqnxToDate(int nutationTerms, int yrOfEquinox, double ds50UTC, double raIn,
                        double decIn, double* raOut, double* decOut) {
  return RotateRaDec("RotRADec_EqnxToDate", true, nutationTerms, yrOfEquinox, ds50UTC, raIn, decIn,
                     raOut, decOut);
}

}  // extern "C"
