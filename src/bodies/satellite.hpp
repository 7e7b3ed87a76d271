// A satellite: identity, orbit state, force properties and, once its orbit is known as a TLE, an
// SGP4 propagator that owns that TLE's keys. Nothing in a satellite is locked: a satellite is
// worked on by one thread at a time (the binding guards Python's access to it).
#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>

#include "binding/borrow.hpp"
#include "elements/ephemeris.hpp"
#include "elements/keplerian_state.hpp"
#include "elements/tle.hpp"
#include "propagation/force_properties.hpp"
#include "propagation/inertial_propagator.hpp"

namespace talvoran {

class Satellite {
 public:
  std::string id;
  std::optional<std::string> name;
  std::int32_t norad_id = kUnknownNoradId;
  std::optional<KeplerianState> keplerian_state;
  ForceProperties force_properties{0.03, 1.0, 0.01, 1.0, 1.0, 0.0, 0.0};
  std::optional<InertialPropagator> propagator;
  // The ephemeris of the last successful request and that request's key.
  std::optional<std::string> cached_ephemeris_key;
  EphemerisHandle cached_ephemeris;
  mutable binding::BorrowFlag borrow;

  // A new satellite: a fresh UUID, no state, no propagator, catalogue number 99999.
  Satellite();
  // Takes the TLE over: identity, state and force properties from it, and its propagator.
  static Satellite from_tle(TLE tle);

  // TEME state at the epoch, or nothing without a propagator or when SGP4 fails.
  std::optional<CartesianState> state_at(const Epoch& epoch) const;

  // Stores the state; for mean elements also rebuilds the TLE and propagator from it. Osculating
  // elements are stored, but cannot be propagated: the error says so and the old propagator
  // stays. A TLE that cannot be loaded is an InternalError.
  std::expected<void, std::string> set_keplerian_state(const KeplerianState& state);
  // Stores the force properties and rebuilds the TLE and propagator when the state is mean.
  void set_force_properties(const ForceProperties& force);

  // Moves the satellite's TLE to the epoch's count (its time system is not consulted). The
  // satellite is unchanged on failure.
  std::expected<void, std::string> step_to_epoch(const Epoch& epoch);

  // The satellite's state as a TLE (an unloaded state gives nothing); the load's error text.
  std::expected<std::optional<TLE>, std::string> to_tle() const;

  // The ephemeris from `start` to `end` at `step_days` (at most a quarter of the span), built once
  // per distinct request and served from the cache after that; nothing without a propagator or
  // when SGP4 fails on the way. A step that is not positive and finite, non-finite epochs and an
  // end before the start are refused with a message (they would never end the stepping).
  std::expected<EphemerisHandle, std::string> get_ephemeris(const Epoch& start, const Epoch& end,
                                                            double step_days);

  std::optional<double> periapsis() const;
  std::optional<double> apoapsis() const;

 private:
  // TLE and propagator rebuilt from the state and force properties (mean elements only).
  void rebuild_propagator();
};

}  // namespace talvoran
