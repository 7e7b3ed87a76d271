// Geocentric Sun and Moon in TEME of the epoch: from a JPL SPK file when one is set, otherwise
// from the analytic series. Positions are geometric (no light time, no aberration).
//
// The JPL file is process-wide state. It is replaced as a whole under an exclusive lock; a
// computation takes a shared reference under a shared lock and then works without one, so
// worker threads computing positions never wait for each other.
#include <erfa.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "astrofunc/common.hpp"
#include "astrofunc/earth_orientation.hpp"
#include "astrofunc/fk5_reduction.hpp"
#include "astrofunc/spk_reader.hpp"
#include "astrofunc/sun_moon_series.hpp"
#include "engine/astrofunc.h"

namespace {

using namespace astrofunc;

std::shared_mutex g_jpl_mutex;
std::shared_ptr<const SpkFile> g_jpl;  // null: analytic series

constexpr double kDs50OfJ2000 = 18263.5;  // JD 2451545.0 (TT or TDB) as a ds50 count
constexpr double kTtMinusTaiS = 32.184;

// TT (ds50) and TDB seconds past J2000 of a UTC day count. TDB - TT is ERFA's eraDtdb at the
// geocentre (below 2 ms; its topocentric part is irrelevant for geocentric positions).
bool TimesOfUtc(double ds50_utc, double* ds50_tt, double* et_s, std::string* why) {
  double ds50_tai = 0.0;
  if (!TaiOfUtc(ds50_utc, &ds50_tai, why)) return false;
  *ds50_tt = ds50_tai + kTtMinusTaiS / kSecPerDay;
  const double tdb_minus_tt_s = eraDtdb(kJdOfDs50Zero, *ds50_tt, 0.0, 0.0, 0.0, 0.0);
  *et_s = (*ds50_tt - kDs50OfJ2000) * kSecPerDay + tdb_minus_tt_s;
  return true;
}

std::shared_ptr<const SpkFile> CurrentJpl() {
  std::shared_lock lock(g_jpl_mutex);
  return g_jpl;
}

// ICRS (the frame of the DE4xx files) -> TEME of date: the IAU 2000 frame bias to the mean
// J2000 frame (23 mas, 16 km at the Sun's distance), then the FK5 reduction of date.
void IcrsToTeme(double ds50_tt, const double icrs[3], double teme[3]) {
  double bias[3][3], precession[3][3], bias_precession[3][3], to_teme[3][3], j2000[3];
  eraBp00(kJdOfDs50Zero, ds50_tt, bias, precession, bias_precession);
  MatVec(bias, icrs, j2000);
  J2000ToTemeMatrix(kJdOfDs50Zero, ds50_tt, to_teme);
  MatVec(to_teme, j2000, teme);
}

bool JplSunMoon(const SpkFile& jpl, double ds50_tt, double et_s, double sun[3], double moon[3],
                std::string* why) {
  double emb[3], sun_ssb[3], moon_emb[3], earth_emb[3];
  if (!jpl.Position(kEmb, kSsb, et_s, emb, why) || !jpl.Position(kSun, kSsb, et_s, sun_ssb, why) ||
      !jpl.Position(kMoon, kEmb, et_s, moon_emb, why) ||
      !jpl.Position(kEarth, kEmb, et_s, earth_emb, why))
    return false;
  double sun_geo[3], moon_geo[3];
  for (int k = 0; k < 3; ++k) {
    sun_geo[k] = sun_ssb[k] - emb[k] - earth_emb[k];
    moon_geo[k] = moon_emb[k] - earth_emb[k];
  }
  IcrsToTeme(ds50_tt, sun_geo, sun);
  IcrsToTeme(ds50_tt, moon_geo, moon);
  return true;
}

}  // namespace

extern "C" {

int JplSetParameters(const char* jplFile, double ds50Start, double ds50Stop) {
  auto drop = [] {
    std::unique_lock lock(g_jpl_mutex);
    g_jpl.reset();
  };
  if (jplFile == nullptr) {
    drop();
    return engine::fail("JplSetParameters: no file name given");
  }
  const std::string path(jplFile, ::strnlen(jplFile, ENGINE_TEXT_LEN));
  double tt_start = 0.0, tt_stop = 0.0, et_start = 0.0, et_stop = 0.0;
  std::string why;
  if (!TimesOfUtc(ds50Start, &tt_start, &et_start, &why) ||
      !TimesOfUtc(ds50Stop, &tt_stop, &et_stop, &why)) {
    drop();
    return engine::fail("JplSetParameters: " + why);
  }
  auto file = std::make_shared<SpkFile>();
  if (!file->Load(path, et_start, et_stop, &why)) {
    drop();
    return engine::fail("JplSetParameters: " + why);
  }
  std::unique_lock lock(g_jpl_mutex);
  g_jpl = std::move(file);
  return 0;
}

int JplCompSunMoonPos(double ds50UTC, double sunPos[3], double moonPos[3]) {
  const auto outs = {std::span<double>(sunPos, 3), std::span<double>(moonPos, 3)};
  double ds50_tt = 0.0, et_s = 0.0;
  std::string why;
  if (!TimesOfUtc(ds50UTC, &ds50_tt, &et_s, &why)) return Fail("JplCompSunMoonPos", why, outs);
  if (const auto jpl = CurrentJpl()) {
    if (!(et_s >= jpl->start_s() && et_s <= jpl->stop_s()))
      return Fail("JplCompSunMoonPos",
                  "UTC day count " + Num(ds50UTC) + " lies outside the span read from \"" +
                      jpl->path() + "\"",
                  outs);
    if (!JplSunMoon(*jpl, ds50_tt, et_s, sunPos, moonPos, &why))
      return Fail("JplCompSunMoonPos", why, outs);
    return 0;
  }
  const double t_tt_cent = (ds50_tt - kDs50OfJ2000) / 36525.0;
  double sun_mod[3], moon_mod[3], mod_to_teme[3][3];
  SunMeanOfDate(t_tt_cent, sun_mod);
  MoonMeanOfDate(t_tt_cent, moon_mod);
  MeanOfDateToTemeMatrix(kJdOfDs50Zero, ds50_tt, mod_to_teme);
  MatVec(mod_to_teme, sun_mod, sunPos);
  MatVec(mod_to_teme, moon_mod, moonPos);
  return 0;
}

}  // extern "C"
