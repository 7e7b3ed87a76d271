#include "saal/astro_func.hpp"

#include "binding/engine_error.hpp"
#include "engine/astrofunc.h"

namespace talvoran::astro {

namespace {

// The engine's number of nutation terms for its RA/Dec rotations.
constexpr int kNutationTerms = 106;

}  // namespace

std::expected<Vec3, std::string> efg_to_lla(const Vec3& efg) {
  if (all_zero(efg)) return std::unexpected("Input EFG position is zero vector.");
  Vec3 llh{};
  EFGPosToLLH(efg.data(), llh.data());
  if (all_zero(llh)) return std::unexpected(engine_last_error());
  return llh;
}

std::expected<Topo, std::string> teme_to_topocentric(double theta, double lat, const Vec3& sen_pos,
                                                     const Vec3& sat_pos, const Vec3& sat_vel) {
  Topo topo{};
  ECIToTopoComps(theta, lat, sen_pos.data(), sat_pos.data(), sat_vel.data(), topo.data());
  if (all_zero(topo)) return std::unexpected(engine_last_error());
  return topo;
}

std::pair<double, double> topo_date_to_equinox(int yr_of_equinox, double ds50utc, double ra,
                                               double dec) {
  double ra_out = 0.0, dec_out = 0.0;
  RotRADec_DateToEqnx(kNutationTerms, yr_of_equinox, ds50utc, ra, dec, &ra_out, &dec_out);
  return {ra_out, dec_out};
}

}  // namespace talvoran::astro
