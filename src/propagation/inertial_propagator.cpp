#include "propagation/inertial_propagator.hpp"

#include <algorithm>
#include <utility>

#include "binding/engine_error.hpp"
#include "binding/internal_error.hpp"
#include "engine/sgp4prop.h"

namespace talvoran {

namespace {

constexpr const char* kNoTle = "Propagation of osculating elements has not been implemented";
// Sgp4PropAll: the time is a day count since 1950 UTC; slots 15-20 hold the mean elements
// a, e, i, M, RAAN, argument of perigee.
constexpr int kTimeIsDs50Utc = 1;
constexpr std::size_t kMeanElements = 15;

void init_sgp4(const TLE& tle) {
  if (Sgp4InitSat(tle.key()) != 0) throw InternalError(engine_last_error());
}

}  // namespace

InertialPropagator::InertialPropagator(TLE tle) {
  init_sgp4(tle);  // on failure `tle` is released as this constructor unwinds
  tle_.emplace(std::move(tle));
}

InertialPropagator::InertialPropagator(const InertialPropagator& other) {
  if (other.tle_) {
    TLE copy(*other.tle_);
    init_sgp4(copy);
    tle_.emplace(std::move(copy));
  }
}

InertialPropagator& InertialPropagator::operator=(const InertialPropagator& other) {
  if (this != &other) *this = InertialPropagator(other);
  return *this;
}

InertialPropagator& InertialPropagator::operator=(InertialPropagator&& other) noexcept {
  if (this != &other) {
    release();
    tle_ = std::move(other.tle_);
    other.tle_.reset();
  }
  return *this;
}

InertialPropagator::~InertialPropagator() { release(); }

void InertialPropagator::release() {
  // SGP4 memory first, then TLE memory (the TLE's destructor).
  if (tle_ && tle_->key() != 0) Sgp4RemoveSat(tle_->key());
  tle_.reset();
}

const TLE& InertialPropagator::tle() const {
  if (!tle_) throw std::runtime_error(kNoTle);
  return *tle_;
}

KeplerianState InertialPropagator::keplerian_state() const {
  const TLE& t = tle();
  return {t.epoch, t.elements, t.frame, t.type};
}

std::optional<CartesianState> InertialPropagator::cartesian_state_at(const Epoch& epoch) const {
  if (!tle_) throw InternalError(kNoTle);
  std::array<double, 3> r{}, v{};
  if (Sgp4PropDs50UtcPosVel(tle_->key(), epoch.days_since_1950, r.data(), v.data()) != 0) {
    return std::nullopt;
  }
  return CartesianState{epoch, {r[0], r[1], r[2]}, {v[0], v[1], v[2]}, ReferenceFrame::TEME};
}

std::optional<KeplerianState> InertialPropagator::keplerian_state_at(const Epoch& epoch) const {
  if (!tle_) throw InternalError(kNoTle);
  std::array<double, 64> out{};
  if (Sgp4PropAll(tle_->key(), kTimeIsDs50Utc, epoch.days_since_1950, out.data()) != 0) {
    return std::nullopt;
  }
  std::array<double, 6> mean{};
  std::copy_n(out.begin() + kMeanElements, 6, mean.begin());
  return KeplerianState{epoch, KeplerianElements::unpack(mean), ReferenceFrame::TEME, tle_->type};
}

}  // namespace talvoran
