#include "astrofunc/earth_orientation.hpp"

#include <cmath>

#include "astrofunc/common.hpp"
#include "engine/dllmain.h"
#include "engine/timefunc.h"

namespace astrofunc {

namespace {

// timefunc leaves its reason as the thread's last error; carry it into ours.
std::string TimefuncReason() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return std::string(buf);
}

bool Good(double ds50) { return std::isfinite(ds50) && ds50 != TIME_FAILURE_MARK; }

}  // namespace

bool GmstOfUtc(double ds50_utc, double* gmst_rad, std::string* why) {
  if (!std::isfinite(ds50_utc)) {
    *why = "UTC day count " + Num(ds50_utc) + " is not a finite number";
    return false;
  }
  const double ds50_ut1 = UTCToUT1(ds50_utc);
  const double theta = Good(ds50_ut1) ? ThetaGrnwchFK5(ds50_ut1) : TIME_FAILURE_MARK;
  if (!Good(theta)) {
    *why = "no UT1 for UTC day count " + Num(ds50_utc) + " (" + TimefuncReason() + ")";
    return false;
  }
  *gmst_rad = theta;
  return true;
}

bool PolarMotionOfUtc(double ds50_utc, double* xp_rad, double* yp_rad, std::string* why) {
  double tai_utc = 0.0, ut1_utc = 0.0, ut1_rate = 0.0, xp_arcsec = 0.0, yp_arcsec = 0.0;
  if (std::isfinite(ds50_utc))
    UTCToTConRec(ds50_utc, &tai_utc, &ut1_utc, &ut1_rate, &xp_arcsec, &yp_arcsec);
  if (!std::isfinite(ds50_utc) || !std::isfinite(xp_arcsec) || !std::isfinite(yp_arcsec)) {
    *why = "no polar motion for UTC day count " + Num(ds50_utc) + " (" + TimefuncReason() + ")";
    return false;
  }
  *xp_rad = xp_arcsec * kRadPerArcsec;
  *yp_rad = yp_arcsec * kRadPerArcsec;
  return true;
}

void TtJdOfTai(double ds50_tai, double* jd1, double* jd2) {
  constexpr double kTtMinusTaiDays = 32.184 / kSecPerDay;
  *jd1 = kJdOfDs50Zero;
  *jd2 = ds50_tai + kTtMinusTaiDays;
}

bool TaiOfUtc(double ds50_utc, double* ds50_tai, std::string* why) {
  const double tai = std::isfinite(ds50_utc) ? UTCToTAI(ds50_utc) : TIME_FAILURE_MARK;
  if (!Good(tai)) {
    *why = "no TAI for UTC day count " + Num(ds50_utc) + " (" + TimefuncReason() + ")";
    return false;
  }
  *ds50_tai = tai;
  return true;
}

}  // namespace astrofunc
