#include "bodies/satellite.hpp"

#include <utility>

#include "binding/internal_error.hpp"
#include "binding/uuid.hpp"
#include "saal/tle_interface.hpp"

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

std::optional<double> Satellite::periapsis() const {
  if (!keplerian_state) return std::nullopt;
  return keplerian_state->elements.periapsis();
}

std::optional<double> Satellite::apoapsis() const {
  if (!keplerian_state) return std::nullopt;
  return keplerian_state->elements.apoapsis();
}

}  // namespace talvoran
