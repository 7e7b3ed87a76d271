// A position (km) and velocity (km/s) at an epoch in one of the four reference frames, and the
// one place where states move between frames.
#pragma once

#include "elements/vectors.hpp"
#include "enums/keplerian_type.hpp"
#include "enums/reference_frame.hpp"
#include "time/epoch.hpp"

namespace talvoran {

struct KeplerianState;

struct CartesianState {
  Epoch epoch;
  CartesianVector position;
  CartesianVector velocity;
  ReferenceFrame frame = ReferenceFrame::TEME;

  // The same state in `target`. The epoch's count is handed to the engine as a UTC count whatever
  // its time system. The engine's rotations report no status: what they write is returned.
  CartesianState to_frame(ReferenceFrame target) const;

  // Osculating two-body elements of the state, in its own frame.
  KeplerianState to_keplerian() const;
};

}  // namespace talvoran
