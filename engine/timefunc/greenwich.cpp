// Greenwich sidereal angles of a UT1 day count.
#include <erfa.h>

#include <cmath>
#include <numbers>
#include <string>

#include "common/error.hpp"
#include "engine/timefunc.h"
#include "timefunc/calendar.hpp"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// fmod can leave -0.0 or, after adding 2 pi to a tiny negative, exactly 2 pi.
double ToZeroTwoPi(double theta_rad) {
  theta_rad = std::fmod(theta_rad, kTwoPi);
  if (theta_rad < 0.0) theta_rad += kTwoPi;
  if (theta_rad >= kTwoPi) theta_rad -= kTwoPi;
  return theta_rad + 0.0;
}

bool CheckFinite(double ds50_ut1, const char* what) {
  if (std::isfinite(ds50_ut1)) return true;
  engine::fail(std::string(what) + ": UT1 day count " + timefunc::FormatDouble(ds50_ut1) +
               " is not a number");
  return false;
}

}  // namespace

extern "C" {

// The sidereal time of SGP4's Greenwich angle (Spacetrack Report No. 3, THETAG, in the form of
// its later Air Force code): the angle at 1970 January 0.0 UT1 plus the sidereal excess rate
// times the whole days since then plus (rate + 2 pi) times the fraction of the day. Splitting off
// the whole days keeps the large multiple of 2 pi out of the product, so the angle keeps its
// precision far from 1970.
double ThetaGrnwchFK4(double ds50UT1) {
  if (!CheckFinite(ds50UT1, "FK4 Greenwich angle")) return TIME_FAILURE_MARK;
  constexpr double kTheta1970Rad = 1.7321343856509374;       // at 1970 Jan 0.0 UT1
  constexpr double kRateRadPerDay = 1.72027916940703639e-2;  // sidereal excess per day
  constexpr double kRatePlusTwoPiRadPerDay = kRateRadPerDay + kTwoPi;
  constexpr double kDs50Of1970Jan0 = 7305.0;
  const double days_1970 = ds50UT1 - kDs50Of1970Jan0;
  const double whole_days = std::floor(days_1970);
  const double fraction = days_1970 - whole_days;
  return ToZeroTwoPi(kTheta1970Rad + kRateRadPerDay * whole_days +
                     kRatePlusTwoPiRadPerDay * fraction);
}

// GMST of IAU 1982 (Aoki et al. 1982) by ERFA. The JD is passed as 2433281.5 + ds50 so that the
// day fraction reaches ERFA unrounded.
double ThetaGrnwchFK5(double ds50UT1) {
  if (!CheckFinite(ds50UT1, "FK5 Greenwich angle")) return TIME_FAILURE_MARK;
  return ToZeroTwoPi(eraGmst82(timefunc::kJdMinusDs50, ds50UT1));
}

}  // extern "C"
