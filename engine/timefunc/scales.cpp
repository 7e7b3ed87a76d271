// UTC, TAI, UT1 and TT day counts.
//
// A UTC day count has 86400 s in every day (the leap second is not a count of its own; see
// docs/engine.md, "Time"), so UTC -> TAI adds TAI-UTC of the count and is a strictly increasing
// function with a gap of one second at each leap second. TAI -> UTC inverts it.
#include "timefunc/scales.hpp"

#include <erfa.h>

#include <cmath>
#include <string>

#include "common/error.hpp"
#include "engine/timefunc.h"
#include "timefunc/calendar.hpp"
#include "timefunc/timing_constants.hpp"

namespace timefunc {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kTtMinusTaiSeconds = 32.184;  // IAU 1991 Resolution A4, the TT - TAI offset
constexpr int kFirstUtcYear = 1960;

}  // namespace

Result<double> TaiMinusUtcSeconds(double ds50_utc) {
  const auto split = SplitToDate(ds50_utc);
  if (!split) return Result<double>::Fail(split.error());
  double dat_s = 0.0;
  const int status =
      eraDat(split->date.year, split->date.month, split->date.day, split->fraction_of_day, &dat_s);
  // eraDat returns status 1 (a warning) both before 1960 (dat 0) and for dates years past its
  // last leap-second check. Only the first is a failure: the last known TAI-UTC holds until the
  // next leap second is announced.
  if (status < 0 || split->date.year < kFirstUtcYear) {
    return Result<double>::Fail("TAI-UTC is not defined at UTC day count " +
                                FormatDouble(ds50_utc) + " (" + std::to_string(split->date.year) +
                                "): UTC began in 1960");
  }
  return Result<double>::Ok(dat_s);
}

namespace {

Result<double> UtcFromTai(double ds50_tai) {
  if (!std::isfinite(ds50_tai)) {
    return Result<double>::Fail("TAI day count " + FormatDouble(ds50_tai) + " is not a number");
  }
  // Fixed point of utc = tai - dat(utc) / 86400, starting from dat read at the TAI count. Between
  // leap seconds dat is constant (after 1972) or drifts by at most 1.3 ms/day (before), so the
  // iteration settles in two or three steps.
  auto dat = TaiMinusUtcSeconds(ds50_tai);
  if (!dat) return Result<double>::Fail(dat.error());
  double utc = ds50_tai - *dat / kSecondsPerDay;
  for (int i = 0; i < 6; ++i) {
    dat = TaiMinusUtcSeconds(utc);
    if (!dat) return Result<double>::Fail(dat.error());
    const double next = ds50_tai - *dat / kSecondsPerDay;
    if (std::fabs(next - utc) < 1e-12) return Result<double>::Ok(next);  // 0.1 us
    // Inside an inserted leap second the iteration swings between the two sides of midnight:
    // neither side maps back onto this TAI. Take the count after midnight, as TimeComps2ToUTC
    // counts 23:59:60.x (see docs/engine.md).
    if (i > 0 && next < utc) return Result<double>::Ok(utc);
    utc = next;
  }
  return Result<double>::Ok(utc);
}

}  // namespace
}  // namespace timefunc

extern "C" {

double UTCToTAI(double ds50UTC) {
  const auto dat = timefunc::TaiMinusUtcSeconds(ds50UTC);
  if (!dat) {
    engine::fail("UTC to TAI: " + dat.error());
    return TIME_FAILURE_MARK;
  }
  return ds50UTC + *dat / timefunc::kSecondsPerDay;
}

double TAIToUTC(double ds50TAI) {
  const auto utc = timefunc::UtcFromTai(ds50TAI);
  if (!utc) {
    engine::fail("TAI to UTC: " + utc.error());
    return TIME_FAILURE_MARK;
  }
  return *utc;
}

double UTCToUT1(double ds50UTC) {
  const auto dut1 = timefunc::Ut1MinusUtcSeconds(ds50UTC);
  if (!dut1) {
    engine::fail("UTC to UT1: " + dut1.error());
    return TIME_FAILURE_MARK;
  }
  return ds50UTC + *dut1 / timefunc::kSecondsPerDay;
}

double TAIToUT1(double ds50TAI) {
  const auto utc = timefunc::UtcFromTai(ds50TAI);
  if (!utc) {
    engine::fail("TAI to UT1: " + utc.error());
    return TIME_FAILURE_MARK;
  }
  const auto dut1 = timefunc::Ut1MinusUtcSeconds(*utc);
  const auto dat = timefunc::TaiMinusUtcSeconds(*utc);
  if (!dut1 || !dat) {
    engine::fail("TAI to UT1: " + (dut1 ? dat.error() : dut1.error()));
    return TIME_FAILURE_MARK;
  }
  // UT1 - TAI is continuous where UT1 - UTC jumps, so the TAI instants inside an inserted leap
  // second, which have no UTC count of their own, still get their true UT1.
  return ds50TAI + (*dut1 - *dat) / timefunc::kSecondsPerDay;
}

double UTCToET(double ds50UTC) {
  const auto dat = timefunc::TaiMinusUtcSeconds(ds50UTC);
  if (!dat) {
    engine::fail("UTC to TT: " + dat.error());
    return TIME_FAILURE_MARK;
  }
  // One addition of the whole offset keeps one rounding instead of two.
  return ds50UTC + (*dat + timefunc::kTtMinusTaiSeconds) / timefunc::kSecondsPerDay;
}

}  // extern "C"
