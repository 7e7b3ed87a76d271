// Sgp4ReepochTLE: a TLE of the same satellite at a new epoch, whose SGP4 state at that epoch is
// the state of the original TLE there.
//
// The new mean elements are found by Newton iteration on the SGP4 model itself: the elements
// (in equinoctial form, regular at e = 0 and i = 0) are corrected until SGP4 at the new epoch
// reproduces the propagated position and velocity. Drag terms and the type are kept.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string>

#include "common/error.hpp"
#include "engine/sgp4prop.h"
#include "engine/tle.h"
#include "sgp4prop/store.hpp"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kMinPerDay = 1440.0;

using Vec6 = std::array<double, 6>;

// Elements as solved for: Brouwer mean motion (rad/min), a_f = e cos(w + node),
// a_g = e sin(w + node), chi = tan(i/2) sin(node), psi = tan(i/2) cos(node), mean longitude.
sgp4::MeanElements ToElements(const Vec6& p, double epoch, double bstar) {
  sgp4::MeanElements el{};
  el.epoch_ds50_utc = epoch;
  el.bstar = bstar;
  el.ecco = std::hypot(p[1], p[2]);
  el.inclo = 2.0 * std::atan(std::hypot(p[3], p[4]));
  el.nodeo = std::atan2(p[3], p[4]);
  const double lon_peri = std::atan2(p[2], p[1]);
  el.argpo = lon_peri - el.nodeo;
  el.mo = p[5] - lon_peri;
  el.no_kozai = sgp4::ReKozai(p[0], el.ecco, el.inclo);
  return el;
}

Vec6 FromMean(const sgp4::MeanState& m) {
  const double tan_half_i = std::tan(0.5 * m.inclm);
  return {m.nm,
          m.em * std::cos(m.argpm + m.nodem),
          m.em * std::sin(m.argpm + m.nodem),
          tan_half_i * std::sin(m.nodem),
          tan_half_i * std::cos(m.nodem),
          m.mm + m.argpm + m.nodem};
}

// SGP4 at the epoch of the elements p; position (km) and velocity scaled to km by the time
// unit tu (s), so that all six residuals weigh alike. False when SGP4 cannot start or run.
bool Model(const Vec6& p, double epoch, double bstar, double tu, Vec6& out) {
  const sgp4::MeanElements el = ToElements(p, epoch, bstar);
  if (!(el.ecco < 1.0) || !(el.no_kozai > 0.0)) return false;
  sgp4::Record rec;
  if (sgp4::Sgp4Init(el, 0, rec) != sgp4::kOk) return false;
  double r[3], v[3];
  const int code = sgp4::Sgp4(rec, 0.0, r, v);
  if (code != sgp4::kOk && code != sgp4::kDecayed) return false;
  out = {r[0], r[1], r[2], v[0] * tu, v[1] * tu, v[2] * tu};
  return true;
}

// Solves a x = b (6 x 6) by Gaussian elimination with partial pivoting; false when singular.
bool Solve(std::array<Vec6, 6> a, Vec6 b, Vec6& x) {
  for (int c = 0; c < 6; ++c) {
    int piv = c;
    for (int r = c + 1; r < 6; ++r) {
      if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
    }
    if (std::fabs(a[piv][c]) < 1e-300) return false;
    std::swap(a[c], a[piv]);
    std::swap(b[c], b[piv]);
    for (int r = c + 1; r < 6; ++r) {
      const double f = a[r][c] / a[c][c];
      for (int k = c; k < 6; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  for (int r = 5; r >= 0; --r) {
    double s = b[r];
    for (int k = r + 1; k < 6; ++k) s -= a[r][k] * x[k];
    x[r] = s / a[r][r];
  }
  return true;
}

double Norm(const Vec6& v) {
  double s = 0.0;
  for (double x : v) s += x * x;
  return std::sqrt(s);
}

// Levenberg-Marquardt iteration from the guess p (Gauss-Newton far from trouble; the damping
// keeps the step sane where SGP4's Lyddane branch makes the model nearly singular, at
// inclinations near zero). Returns the residual norm (km) reached, or -1.
double Fit(Vec6& p, double epoch, double bstar, double tu, const Vec6& target) {
  Vec6 y;
  if (!Model(p, epoch, bstar, tu, y)) return -1.0;
  Vec6 res;
  for (int k = 0; k < 6; ++k) res[k] = y[k] - target[k];
  double norm = Norm(res);
  double lambda = 1e-6;
  for (int iter = 0; iter < 60 && norm > 1e-9; ++iter) {
    // Jacobian by central differences: relative step for the mean motion, absolute otherwise.
    std::array<Vec6, 6> jac{};
    for (int j = 0; j < 6; ++j) {
      const double h = j == 0 ? 1e-7 * p[0] : 1e-7;
      Vec6 plus = p, minus = p, yp, ym;
      plus[j] += h;
      minus[j] -= h;
      if (!Model(plus, epoch, bstar, tu, yp) || !Model(minus, epoch, bstar, tu, ym)) return -1.0;
      for (int k = 0; k < 6; ++k) jac[k][j] = (yp[k] - ym[k]) / (2.0 * h);
    }
    std::array<Vec6, 6> jtj{};
    Vec6 jtr{};
    for (int i = 0; i < 6; ++i) {
      for (int j = 0; j < 6; ++j) {
        for (int k = 0; k < 6; ++k) jtj[i][j] += jac[k][i] * jac[k][j];
      }
      for (int k = 0; k < 6; ++k) jtr[i] -= jac[k][i] * res[k];
    }
    bool improved = false;
    for (int tries = 0; tries < 30 && !improved; ++tries) {
      std::array<Vec6, 6> a = jtj;
      for (int i = 0; i < 6; ++i) a[i][i] *= 1.0 + lambda;
      Vec6 dx{};
      if (Solve(a, jtr, dx)) {
        Vec6 trial = p, yt, rt;
        for (int k = 0; k < 6; ++k) trial[k] += dx[k];
        if (Model(trial, epoch, bstar, tu, yt)) {
          for (int k = 0; k < 6; ++k) rt[k] = yt[k] - target[k];
          const double nt = Norm(rt);
          if (nt < norm) {
            p = trial;
            res = rt;
            norm = nt;
            improved = true;
            lambda = std::max(lambda * 0.1, 1e-12);
            break;
          }
        }
      }
      lambda *= 10.0;
    }
    if (!improved) break;
  }
  return norm;
}

double Wrap360(double deg) {
  double w = std::fmod(deg, 360.0);
  if (w < 0.0) w += 360.0;
  return w >= 360.0 ? 0.0 : w;
}

}  // namespace

extern "C" {

int Sgp4ReepochTLE(int64_t satKey, double ds50UTC, char* line1, char* line2) {
  if (line1 != nullptr) line1[0] = '\0';
  if (line2 != nullptr) line2[0] = '\0';
  if (line1 == nullptr || line2 == nullptr) return engine::fail("Sgp4ReepochTLE: null line buffer");
  if (!std::isfinite(ds50UTC))
    return engine::fail("Sgp4ReepochTLE: the new epoch is not a finite number");

  // A copy of the satellite, so that the fit runs without holding the store's lock.
  sgp4prop::Satellite sat;
  if (!sgp4prop::WithSatellite(satKey, [&](const sgp4prop::Satellite& s) { sat = s; })) return 1;
  const std::string who = "Satellite " + std::to_string(sat.rec.satnum) + ": ";

  // The epoch as the new line 1 will hold it (1e-8 day).
  std::array<double, XA_TLE_SIZE> xa = sat.xa;
  xa[XA_TLE_EPOCH] = ds50UTC;
  char l1[ENGINE_TEXT_BUF], l2[ENGINE_TEXT_BUF];
  if (TleGPArrayToLines(xa.data(), sat.xs.c_str(), l1, l2) != 0) return 1;
  std::array<double, XA_TLE_SIZE> written{};
  char xs[ENGINE_TEXT_BUF];
  if (TleLinesToArray(l1, l2, written.data(), xs) != 0) return 1;
  const double epoch = written[XA_TLE_EPOCH];

  // The state to reproduce, and the mean elements of the old TLE there as the first guess.
  const double tsince = (epoch - sat.rec.epoch_ds50_utc) * kMinPerDay;
  double r[3], v[3];
  sgp4::MeanState mean{};
  if (sgp4prop::Propagate(sat, tsince, r, v, &mean) != 0) return 1;
  const sgp4::Gravity& g = sgp4::Wgs72();
  const double tu = 60.0 / g.xke;  // the canonical time unit, s
  const Vec6 target = {r[0], r[1], r[2], v[0] * tu, v[1] * tu, v[2] * tu};
  Vec6 p = FromMean(mean);
  const double residual_km = Fit(p, epoch, sat.rec.bstar, tu, target);
  // The fit normally reaches rounding (below 1e-9 km). Near zero inclination SGP4 adds its
  // lunar-solar inclination periodic to the size of the inclination, so a perturbed inclination
  // vector shorter than that periodic cannot be reached and the fit stalls at the nearest state;
  // such a result is kept (with a warning) while it is within 1e-4 of the radius, far below the
  // theory's own error over a day.
  const double radius_km = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
  if (residual_km < 0.0 || residual_km > 1e-4 * radius_km) {
    return engine::fail(
        who + "re-epoch to ds50 " + std::to_string(epoch) +
        ": the SGP4 mean elements did not converge (residual " +
        (residual_km < 0.0 ? std::string("undefined") : std::to_string(residual_km) + " km") + ")");
  }
  if (residual_km > 1e-6) {
    engine::log(engine::LogLevel::Warning,
                who + "re-epoch to ds50 " + std::to_string(epoch) + ": SGP4 state reproduced to " +
                    std::to_string(residual_km) + " km only (near-zero inclination)");
  }

  const sgp4::MeanElements el = ToElements(p, epoch, sat.rec.bstar);
  const double type = sat.xa[XA_TLE_EPHTYPE];
  const double n_rad_min = type == TLETYPE_SGP ? el.no_kozai : p[0];
  xa[XA_TLE_EPOCH] = epoch;
  xa[XA_TLE_ECCEN] = el.ecco;
  xa[XA_TLE_INCLI] = el.inclo * kDegPerRad;
  xa[XA_TLE_NODE] = Wrap360(el.nodeo * kDegPerRad);
  xa[XA_TLE_OMEGA] = Wrap360(el.argpo * kDegPerRad);
  xa[XA_TLE_MNANOM] = Wrap360(el.mo * kDegPerRad);
  xa[XA_TLE_MNMOTN] = n_rad_min * kMinPerDay / kTwoPi;
  // Revolutions since the old epoch, counted at the node through the mean argument of latitude.
  const double u0 = sat.rec.mo + sat.rec.argpo;
  const double u1 = u0 + (sat.rec.mdot + sat.rec.argpdot) * tsince;
  xa[XA_TLE_REVNUM] =
      std::max(0.0, sat.xa[XA_TLE_REVNUM] + std::floor(u1 / kTwoPi) - std::floor(u0 / kTwoPi));
  return TleGPArrayToLines(xa.data(), sat.xs.c_str(), line1, line2);
}

}  // extern "C"
