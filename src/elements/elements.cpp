// Frame conversion of Cartesian states and the element conversions, through the engine.
#include <array>

#include "elements/cartesian_state.hpp"
#include "elements/keplerian_state.hpp"
#include "engine/astrofunc.h"
#include "engine/timefunc.h"

namespace talvoran {

namespace {

using Vec3 = std::array<double, 3>;

struct PosVel {
  Vec3 r{}, v{};
};

// The engine's names: 0 its compatibility flag (off), 106 its number of nutation terms.
constexpr int kSpectr = 0;
constexpr int kNutationTerms = 106;

using Step = int (*)(double, const double*, const double*, double*, double*);

PosVel step(Step f, double t, const PosVel& in) {
  PosVel out;
  f(t, in.r.data(), in.v.data(), out.r.data(), out.v.data());
  return out;
}

PosVel j2000_to_teme(double t_tai, const PosVel& in) {
  PosVel out;
  RotJ2KToDate(kSpectr, kNutationTerms, t_tai, in.r.data(), in.v.data(), out.r.data(),
               out.v.data());
  return out;
}

PosVel teme_to_j2000(double t_tai, const PosVel& in) {
  PosVel out;
  RotDateToJ2K(kSpectr, kNutationTerms, t_tai, in.r.data(), in.v.data(), out.r.data(),
               out.v.data());
  return out;
}

Vec3 to_array(const CartesianVector& c) { return {c.x, c.y, c.z}; }
CartesianVector to_vector(const Vec3& a) { return {a[0], a[1], a[2]}; }

}  // namespace

CartesianState CartesianState::to_frame(ReferenceFrame target) const {
  if (target == frame) return *this;
  using enum ReferenceFrame;
  const double t = epoch.days_since_1950;
  PosVel s{to_array(position), to_array(velocity)};
  // Every path goes through TEME, the engine's "ECI" and "date" frame, except EFG <-> ECR.
  auto to_efg_from = [&](ReferenceFrame f, PosVel x) {
    return f == ECR ? step(ECRToEFGTime, t, x) : x;
  };
  if (frame == EFG && target == ECR) {
    s = step(EFGToECRTime, t, s);
  } else if (frame == ECR && target == EFG) {
    s = step(ECRToEFGTime, t, s);
  } else {
    // Into TEME.
    if (frame == J2000) s = j2000_to_teme(UTCToTAI(t), s);
    if (frame == EFG || frame == ECR) s = step(EFGToECITime, t, to_efg_from(frame, s));
    // Out of TEME.
    if (target == J2000) s = teme_to_j2000(UTCToTAI(t), s);
    if (target == EFG || target == ECR) s = step(ECIToEFGTime, t, s);
    if (target == ECR) s = step(EFGToECRTime, t, s);
  }
  return {epoch, to_vector(s.r), to_vector(s.v), target};
}

KeplerianState CartesianState::to_keplerian() const {
  const Vec3 r = to_array(position), v = to_array(velocity);
  std::array<double, 6> kep{};
  PosVelToKep(r.data(), v.data(), kep.data());
  return {epoch, KeplerianElements::unpack(kep), frame, KeplerianType::Osculating};
}

double KeplerianElements::mean_motion(KeplerianType type) const {
  const double n = AToN(semi_major_axis);
  if (type == KeplerianType::MeanKozaiGP) return BrouwerToKozai(eccentricity, inclination, n);
  return n;
}

EquinoctialElements KeplerianElements::to_equinoctial() const {
  const auto kep = pack();
  std::array<double, 6> out{};
  KepToEqnx(kep.data(), out.data());
  return {out[0], out[1], out[2], out[3], out[4], out[5]};
}

CartesianState KeplerianState::to_cartesian() const {
  const auto kep = elements.pack();
  Vec3 r{}, v{};
  KepToPosVel(kep.data(), r.data(), v.data());
  return {epoch, to_vector(r), to_vector(v), frame};
}

KeplerianState KeplerianState::to_frame(ReferenceFrame target) const {
  return to_cartesian().to_frame(target).to_keplerian();
}

KeplerianElements EquinoctialElements::to_keplerian() const {
  const auto eq = pack();
  std::array<double, 6> kep{};
  EqnxToKep(eq.data(), kep.data());
  return KeplerianElements::unpack(kep);
}

}  // namespace talvoran
