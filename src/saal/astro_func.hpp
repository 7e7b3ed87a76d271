// Conversions of the engine's astrodynamics library that other parts of the system call
// directly. Each returns its result or the error text.
#pragma once

#include <array>
#include <expected>
#include <string>
#include <utility>

namespace talvoran::astro {

using Vec3 = std::array<double, 3>;
using Topo = std::array<double, 10>;

// Whether every output of an engine call is exactly zero, the engine's sign of a failed call.
template <std::size_t N>
bool all_zero(const std::array<double, N>& a) {
  for (double v : a) {
    if (v != 0.0) return false;
  }
  return true;
}

// Latitude, longitude (degrees) and height (km) of an Earth-fixed position. The zero vector fails
// with "Input EFG position is zero vector."; an all-zero result fails with the engine's message.
std::expected<Vec3, std::string> efg_to_lla(const Vec3& efg);

// The topocentric array of a satellite seen from a site (theta: local sidereal angle, radians;
// lat: degrees). An all-zero result fails with the engine's message.
std::expected<Topo, std::string> teme_to_topocentric(double theta, double lat, const Vec3& sen_pos,
                                                     const Vec3& sat_pos, const Vec3& sat_vel);

// Right ascension and declination (degrees) of date to the equinox `yr_of_equinox`, unchecked.
std::pair<double, double> topo_date_to_equinox(int yr_of_equinox, double ds50utc, double ra,
                                               double dec);

}  // namespace talvoran::astro
