#include "bodies/satellite.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "binding/internal_error.hpp"
#include "binding/uuid.hpp"
#include "saal/tle_interface.hpp"
#include "time/time_components.hpp"

namespace talvoran {

namespace {

constexpr const char* kNoPropagator = "Inertial propagator is not set";

}  // namespace

Satellite::Satellite() : id(new_uuid4()) {}

Satellite Satellite::from_tle(TLE tle) {
  Satellite s;
  s.id = tle.id;
  s.name = tle.name;
  s.norad_id = tle.norad_id;
  s.keplerian_state = KeplerianState{tle.epoch, tle.elements, tle.frame, tle.type};
  s.force_properties = tle.force_properties;
  s.propagator.emplace(std::move(tle));
  return s;
}

std::optional<CartesianState> Satellite::state_at(const Epoch& epoch) const {
  if (!propagator) return std::nullopt;
  return propagator->cartesian_state_at(epoch);
}

void Satellite::rebuild_propagator() {
  auto tle = TLE::from_parts(id, norad_id, name, Classification::Unclassified, "", *keplerian_state,
                             force_properties);
  if (!tle) throw InternalError(tle.error());
  propagator.emplace(*std::move(tle));
}

std::expected<void, std::string> Satellite::set_keplerian_state(const KeplerianState& state) {
  keplerian_state = state;
  if (state.type == KeplerianType::Osculating) {
    return std::unexpected("Osculating elements not implemented");
  }
  rebuild_propagator();
  return {};
}

void Satellite::set_force_properties(const ForceProperties& force) {
  force_properties = force;
  if (!keplerian_state || keplerian_state->type == KeplerianType::Osculating) return;
  rebuild_propagator();
}

std::expected<void, std::string> Satellite::step_to_epoch(const Epoch& epoch) {
  if (!propagator) return std::unexpected(kNoPropagator);
  const TLE* old = nullptr;
  try {
    old = &propagator->tle();
  } catch (const std::runtime_error& e) {
    return std::unexpected(e.what());
  }
  auto lines = tle_interface::reepoch_tle(old->key(), epoch.days_since_1950);
  if (!lines) return std::unexpected(lines.error());
  auto fresh = TLE::from_lines(lines->first, lines->second);
  if (!fresh) return std::unexpected(fresh.error().message);
  KeplerianState state{fresh->epoch, fresh->elements, fresh->frame, fresh->type};
  // The new key is initialised before the old one is released, so a refusal leaves the
  // satellite as it was.
  InertialPropagator next(*std::move(fresh));
  propagator = std::move(next);
  keplerian_state = state;
  return {};
}

std::expected<std::optional<TLE>, std::string> Satellite::to_tle() const {
  if (!keplerian_state) return std::optional<TLE>();
  auto tle = TLE::from_parts(id, norad_id, name, Classification::Unclassified, "", *keplerian_state,
                             force_properties);
  if (!tle) return std::unexpected(tle.error());
  return std::optional<TLE>(*std::move(tle));
}

std::expected<EphemerisHandle, std::string> Satellite::get_ephemeris(const Epoch& start,
                                                                     const Epoch& end,
                                                                     double step_days) {
  if (!(step_days > 0.0) || !std::isfinite(step_days)) {
    return std::unexpected("step must be a positive, finite time span; got " +
                           shortest_decimal(step_days * 86400.0) + " s");
  }
  if (!std::isfinite(start.days_since_1950) || !std::isfinite(end.days_since_1950)) {
    return std::unexpected("start_epoch and end_epoch must be finite day counts");
  }
  const std::string key =
      construct_ephemeris_id(start.days_since_1950, end.days_since_1950, step_days);
  if (cached_ephemeris_key == key) return cached_ephemeris;
  if (!propagator) return EphemerisHandle();

  auto start_in_end_system = start.to_system(end.time_system);
  if (!start_in_end_system) throw InternalError(start_in_end_system.error());
  const double span = end.days_since_1950 - start_in_end_system->days_since_1950;
  if (span < -kSameEpochDays) {
    return std::unexpected("end_epoch " + end.to_iso() + " is before start_epoch " +
                           start.to_iso());
  }
  auto first = propagator->cartesian_state_at(start);
  if (!first) return EphemerisHandle();
  EphemerisHandle eph = new_ephemeris(id, norad_id, *first);
  if (span > kSameEpochDays) {
    const double h = std::min(step_days, span * 1440 * 0.25 * 0.0006944444444444445);
    // Node k is start + k h, not a running sum: a sum drifts by a rounding per step (2.6e-9 day
    // after 720 steps near 2020) and would drop an end that lies on the grid.
    for (std::size_t k = 1;; ++k) {
      const double t = start.days_since_1950 + static_cast<double>(k) * h;
      if (!(end.days_since_1950 > t || std::abs(t - end.days_since_1950) < kSameEpochDays)) break;
      auto state = propagator->cartesian_state_at(Epoch{t, start.time_system});
      if (!state) return EphemerisHandle();
      if (auto added = eph->add_state(*state); !added) throw InternalError(added.error());
    }
  }
  cached_ephemeris = eph;
  cached_ephemeris_key = key;
  return eph;
}

std::optional<double> Satellite::periapsis() const {
  if (!keplerian_state) return std::nullopt;
  return keplerian_state->elements.periapsis();
}

std::optional<double> Satellite::apoapsis() const {
  if (!keplerian_state) return std::nullopt;
  return keplerian_state->elements.apoapsis();
}

}  // namespace talvoran
