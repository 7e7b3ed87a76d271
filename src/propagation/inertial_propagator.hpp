// SGP4 propagation of one element set. The propagator owns a TLE copy and keeps that copy's key
// initialised in the engine's SGP4 memory for as long as it lives. The initialised record is
// read-only, so worker threads may query different propagators at once.
#pragma once

#include <array>
#include <optional>

#include "elements/cartesian_state.hpp"
#include "elements/geodetic.hpp"
#include "elements/keplerian_state.hpp"
#include "elements/tle.hpp"

namespace talvoran {

class InertialPropagator {
 public:
  // Takes the TLE over and initialises SGP4 for its key; an InternalError (the TLE is released)
  // when SGP4 refuses it.
  explicit InertialPropagator(TLE tle);
  InertialPropagator(const InertialPropagator& other);
  InertialPropagator& operator=(const InertialPropagator& other);
  InertialPropagator(InertialPropagator&& other) noexcept = default;
  InertialPropagator& operator=(InertialPropagator&& other) noexcept;
  ~InertialPropagator();

  // TEME state at the epoch's count, handed to SGP4 as a UTC count whatever its system; nothing
  // when SGP4 fails (its message is dropped). The state carries the epoch as given.
  std::optional<CartesianState> cartesian_state_at(const Epoch& epoch) const;
  // SGP4's mean elements at the epoch, of the TLE's type, frame TEME; nothing when SGP4 fails.
  std::optional<KeplerianState> keplerian_state_at(const Epoch& epoch) const;

  const TLE& tle() const;
  KeplerianState keplerian_state() const;
  const ForceProperties& force_properties() const { return tle().force_properties; }

 private:
  void release();

  std::optional<TLE> tle_;
};

}  // namespace talvoran
