// Earth models and their constants. Sources (see docs/engine.md for the full table):
//   WGS-72: the constants SGP4 was fitted with, as tabulated by Vallado, Crawford, Hujsak and
//           Kelso, "Revisiting Spacetrack Report #3", AIAA 2006-6753 (getgravconst, "wgs72"); the
//           flattening and rotation rate from DMA's WGS-72 definition.
//   WGS-84: NIMA TR8350.2, 3rd ed. (2000): GM, a, 1/f, omega; J2 from its C20; J3 and J4 from
//   EGM-96. EGM-96: Lemoine et al. (1998), NASA/TP-1998-206861: GM, a and the normalised C20, C30,
//   C40
//           (J_n = -C_n0 * sqrt(2n + 1)); ellipsoid and rotation rate of WGS-84.
#include <array>
#include <atomic>
#include <cmath>
#include <string>

#include "common/error.hpp"
#include "engine/envconst.h"

namespace {

struct EarthModel {
  int code;
  double radius_km;
  double mu_km3_s2;
  double flattening;
  double j2, j3, j4;
  double omega_rad_s;
};

constexpr std::array<EarthModel, 3> kModels{{
    {XF_GEOMOD_WGS72, 6378.135, 398600.8, 1.0 / 298.26, 0.001082616, -0.00000253881, -0.00000165597,
     7.292115147e-5},
    {XF_GEOMOD_WGS84, 6378.137, 398600.4418, 1.0 / 298.257223563, 0.00108262998905,
     -0.00000253215306, -0.00000161098761, 7.292115e-5},
    {XF_GEOMOD_EGM96, 6378.1363, 398600.4415, 1.0 / 298.257223563, 0.0010826266835531513,
     -2.5326564853322355e-06, -1.619621591367e-06, 7.292115e-5},
}};

std::atomic<int> current{0};  // index into kModels; WGS-72 by default, as SGP4 needs

const EarthModel& model() { return kModels[current.load(std::memory_order_relaxed)]; }

}  // namespace

extern "C" {

int EnvSetGeoIdx(int geoIdx) {
  for (std::size_t i = 0; i < kModels.size(); ++i) {
    if (kModels[i].code == geoIdx) {
      current.store(static_cast<int>(i), std::memory_order_relaxed);
      return 0;
    }
  }
  return engine::fail("Unknown Earth model " + std::to_string(geoIdx) +
                      ": expected 72 (WGS-72), 84 (WGS-84) or 96 (EGM-96)");
}

int EnvGetGeoIdx(void) { return model().code; }

double EnvGetGeoConst(int xfGeoCon) {
  const EarthModel& m = model();
  switch (xfGeoCon) {
    case XF_GEOCON_FF:
      return m.flattening;
    case XF_GEOCON_J2:
      return m.j2;
    case XF_GEOCON_J3:
      return m.j3;
    case XF_GEOCON_J4:
      return m.j4;
    case XF_GEOCON_KE:
      // sqrt(GM) in canonical units: Earth radii^1.5 per minute.
      return 60.0 / std::sqrt(m.radius_km * m.radius_km * m.radius_km / m.mu_km3_s2);
    case XF_GEOCON_KMPER:
      return m.radius_km;
    case XF_GEOCON_RPTIM:
      return m.omega_rad_s * 60.0;
    case XF_GEOCON_CK2:
      return 0.5 * m.j2;
    case XF_GEOCON_CK4:
      return -0.375 * m.j4;
    case XF_GEOCON_KS2EK:
      return 60.0 / m.radius_km;
    case XF_GEOCON_THDOT:
      return m.omega_rad_s;
    case XF_GEOCON_MU:
      return m.mu_km3_s2;
    default:
      engine::fail("Unknown Earth constant " + std::to_string(xfGeoCon) + ": expected 1 to 12");
      return 0.0;
  }
}

}  // extern "C"
