// astro_func_interface: single-call conversions of the engine's astrodynamics library, and the
// names of the slots of its topocentric and range-azimuth-elevation arrays. Values cross in the
// engine's units, unconverted.
#include <nanobind/nanobind.h>
#include <nanobind/stl/array.h>
#include <nanobind/stl/pair.h>
#include <nanobind/stl/string.h>

#include <algorithm>
#include <cstring>

#include "binding/args.hpp"
#include "binding/engine_error.hpp"
#include "binding/modules.hpp"
#include "engine/astrofunc.h"
#include "engine/export.h"
#include "engine/timefunc.h"
#include "saal/astro_func.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

using astro::Vec3;
using Rae = std::array<double, 6>;

constexpr int kNutationTerms = 106;

Vec3 lla_at_theta(double theta, const Vec3& teme_pos) {
  Vec3 llh{};
  XYZToLLH(theta, teme_pos.data(), llh.data());
  return llh;
}

Vec3 lla_at_time(double ds50utc, const Vec3& teme_pos) {
  Vec3 llh{};
  XYZToLLHTime(ds50utc, teme_pos.data(), llh.data());
  return llh;
}

std::array<double, 2> az_el(double theta, double lat, double lon, double ra, double dec) {
  std::array<double, 2> out{};
  RaDecToAzEl(theta, lat, lon, ra, dec, &out[0], &out[1]);
  return out;
}

std::array<double, 2> az_el_time(double ds50_utc, double lat, double lon, double ra, double dec) {
  std::array<double, 2> out{};
  RaDecToAzElTime(ds50_utc, lat, lon, ra, dec, &out[0], &out[1]);
  return out;
}

std::pair<double, double> equinox_to_date(int yr_of_equinox, double ds50utc, double ra,
                                          double dec) {
  double ra_out = 0.0, dec_out = 0.0;
  RotRADec_EqnxToDate(kNutationTerms, yr_of_equinox, ds50utc, ra, dec, &ra_out, &dec_out);
  return {ra_out, dec_out};
}

std::pair<Vec3, Vec3> sun_and_moon(double ds50utc) {
  Vec3 sun{}, moon{};
  JplCompSunMoonPos(ds50utc, sun.data(), moon.data());
  return {sun, moon};
}

std::array<double, 6> horizon_to_teme(double theta, double lat, const Vec3& sen_pos,
                                      const Rae& xa_rae) {
  std::array<double, 6> out{};
  RAEToECI(theta, lat, xa_rae.data(), sen_pos.data(), out.data(), out.data() + 3);
  if (astro::all_zero(out)) throw std::runtime_error(engine_last_error());
  return out;
}

}  // namespace

// Root function: the JPL file for the Sun and Moon, from 1960 to 2050. The path is cut at 512
// bytes; the engine's answer is not checked (it reports refusals in its last error message).
void set_jpl_ephemeris_file_path(const std::string& jpl_path) {
  char buf[ENGINE_TEXT_BUF] = {};
  std::memcpy(buf, jpl_path.data(), std::min<std::size_t>(jpl_path.size(), ENGINE_TEXT_LEN));
  const double start = YrDaysToUTC(1960, 1.0);
  const double stop = YrDaysToUTC(2050, 1.0);
  JplSetParameters(buf, start, stop);
}

void fill_astro_func_interface(nb::module_& m) {
  m.def(
      "teme_to_topo",
      [](double theta, double lat, const Vec3& sen_pos, const Vec3& sat_pos, const Vec3& sat_vel) {
        auto topo = astro::teme_to_topocentric(theta, lat, sen_pos, sat_pos, sat_vel);
        if (!topo) throw std::runtime_error(topo.error());
        return *topo;
      },
      nb::arg("theta"), nb::arg("lat"), nb::arg("sen_pos"), nb::arg("sat_pos"), nb::arg("sat_vel"),
      "Topocentric array (XA_TOPO slots) of a TEME satellite state seen from a TEME site "
      "position; theta is the local sidereal angle (radians), lat the site latitude (degrees).");
  m.def("ra_dec_to_az_el_time", &az_el_time, nb::arg("ds50_utc"), nb::arg("lat"), nb::arg("long"),
        nb::arg("ra"), nb::arg("dec"), "[azimuth, elevation] (degrees) of a TEME RA/Dec.");
  m.def("ra_dec_to_az_el", &az_el, nb::arg("theta"), nb::arg("lat"), nb::arg("long"), nb::arg("ra"),
        nb::arg("dec"), "[azimuth, elevation] (degrees) of a TEME RA/Dec.");
  m.def("theta_teme_to_lla", &lla_at_theta, nb::arg("theta"), nb::arg("teme_pos"),
        "[latitude, longitude, height] of a TEME position, given the Greenwich angle.");
  m.def("time_teme_to_lla", &lla_at_time, nb::arg("ds50utc"), nb::arg("teme_pos"),
        "[latitude, longitude, height] of a TEME position at a UTC day count.");
  m.def("mean_motion_to_sma", &NToA, nb::arg("mean_motion"),
        "Semi-major axis (km) of a mean motion (revolutions per day).");
  m.def("kozai_to_brouwer", &KozaiToBrouwer, nb::arg("eccentricity"), nb::arg("inclination"),
        nb::arg("mean_motion"));
  m.def("brouwer_to_kozai", &BrouwerToKozai, nb::arg("eccentricity"), nb::arg("inclination"),
        nb::arg("mean_motion"));
  m.def("sma_to_mean_motion", &AToN, nb::arg("sma"),
        "Mean motion (revolutions per day) of a semi-major axis (km).");
  m.def(
      "topo_date_to_equinox",
      [](const nb::int_& yr, double ds50utc, double ra, double dec) {
        return astro::topo_date_to_equinox(binding::int32_arg(yr, "yr_of_equinox"), ds50utc, ra,
                                           dec);
      },
      nb::arg("yr_of_equinox"), nb::arg("ds50utc"), nb::arg("ra"), nb::arg("dec"));
  m.def(
      "topo_equinox_to_date",
      [](const nb::int_& yr, double ds50utc, double ra, double dec) {
        return equinox_to_date(binding::int32_arg(yr, "yr_of_equinox"), ds50utc, ra, dec);
      },
      nb::arg("yr_of_equinox"), nb::arg("ds50utc"), nb::arg("ra"), nb::arg("dec"));
  m.def("get_jpl_sun_and_moon_position", &sun_and_moon, nb::arg("ds50utc"),
        "Geocentric Sun and Moon positions (km) in TEME of the epoch.");
  m.def("horizon_to_teme", &horizon_to_teme, nb::arg("theta"), nb::arg("lat"), nb::arg("sen_pos"),
        nb::arg("xa_rae"), "TEME position and velocity of a range-azimuth-elevation array.");

  // Slots of a topocentric array (10 doubles).
  m.attr("XA_TOPO_RA") = 0;
  m.attr("XA_TOPO_DEC") = 1;
  m.attr("XA_TOPO_AZ") = 2;
  m.attr("XA_TOPO_EL") = 3;
  m.attr("XA_TOPO_RANGE") = 4;
  m.attr("XA_TOPO_RADOT") = 5;
  m.attr("XA_TOPO_DECDOT") = 6;
  m.attr("XA_TOPO_AZDOT") = 7;
  m.attr("XA_TOPO_ELDOT") = 8;
  m.attr("XA_TOPO_RANGEDOT") = 9;
  m.attr("XA_TOPO_SIZE") = 10;
  // Slots of a range-azimuth-elevation array (6 doubles).
  m.attr("XA_RAE_RANGE") = 0;
  m.attr("XA_RAE_AZ") = 1;
  m.attr("XA_RAE_EL") = 2;
  m.attr("XA_RAE_RANGEDOT") = 3;
  m.attr("XA_RAE_AZDOT") = 4;
  m.attr("XA_RAE_ELDOT") = 5;
  m.attr("XA_RAE_SIZE") = 6;
  // Year-of-equinox selectors.
  m.attr("YROFEQNX_2000") = 2;
  m.attr("YROFEQNX_CURR") = 1;
}

}  // namespace talvoran
