// A time-ordered table of TEME states of one body, held in the module's own memory, with cubic
// Hermite interpolation between neighbouring entries.
//
// The table is shared: an EphemerisHandle is a reference-counted pointer to one EphemerisBody, and
// the body is freed with its last handle. Many threads may read a body while one thread appends to
// it. Two reader-writer locks guard it, one for the states and one for the uniform-grid summary.
// NOTE: every holder of both locks takes the states lock first and the grid lock second, and
// releases them in the opposite order; a reader of several bodies takes all of their states locks
// before any grid lock, in a fixed order of bodies. add_state holds the states lock for writing
// across the grid update, so a reader that holds the states lock always sees a grid that matches
// the states it reads.
//
// Tolerances (days unless named otherwise):
//   kSameEpochDays        two epochs whose day counts differ by less than this are the same entry
//   kGridToleranceSeconds a spacing or grid offset matches when within this (1e-10 day, seconds)
//   kEmptyIntervalDays    a Hermite interval shorter than this is treated as empty
#pragma once

#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "elements/cartesian_state.hpp"
#include "enums/time_system.hpp"
#include "time/epoch.hpp"

namespace talvoran {

inline constexpr double kSameEpochDays = 1e-10;
inline constexpr double kGridToleranceSeconds = 8.64e-6;
inline constexpr double kEmptyIntervalDays = 2.220446049250313e-16;
inline constexpr std::int32_t kUnknownNoradId = 99999;

// Whether the table's states lie on a uniform time grid. Filled in ascending order at a constant
// step the table stays uniform and the lookup finds its bracketing entries by arithmetic; once a
// spacing breaks the step, is_uniform stays false for good and the lookup searches instead.
struct UniformGrid {
  std::optional<double> step_seconds;  // absent until the table has two states
  Epoch start;                         // epoch of the first state
  bool is_uniform = true;
};

class EphemerisBody;
using EphemerisHandle = std::shared_ptr<EphemerisBody>;

class EphemerisBody {
 public:
  // A table holding `first_state` converted to TEME, a grid starting at its epoch and a new
  // version-4 UUID as id. Without a NORAD number the body reports kUnknownNoradId.
  EphemerisBody(std::string satellite_id, std::optional<std::int32_t> norad_id,
                const CartesianState& first_state);
  EphemerisBody(const EphemerisBody&) = delete;
  EphemerisBody& operator=(const EphemerisBody&) = delete;

  const std::string& id() const { return id_; }
  const std::string& satellite_id() const { return satellite_id_; }
  std::int32_t norad_id() const { return norad_id_; }

  // Inserts `state` (converted to TEME; its epoch kept as it is) at its place in time order, or
  // overwrites the entry with the same epoch, and updates the grid. The state is stored in any
  // case; the error is the epoch conversion that a spacing check needed and could not make (the
  // grid is then switched off, so lookups stay correct by searching).
  std::expected<void, std::string> add_state(const CartesianState& state);

  std::size_t number_of_states() const;
  // Epochs of the first and the last state; nothing for an empty table.
  std::optional<std::pair<Epoch, Epoch>> get_epoch_range() const;
  // The lookup at `epoch` under both read locks (see interpolate_state_with_grid).
  std::optional<CartesianState> state_at(const Epoch& epoch) const;

  // Read access for the event searches, which sample several bodies under locks held for the
  // whole search. Take every StatesRead before any GridRead (see the NOTE above).
  class StatesRead {
   public:
    explicit StatesRead(const EphemerisBody& body) : lock_(body.states_mutex_), body_(&body) {}
    std::span<const CartesianState> states() const { return body_->states_; }

   private:
    std::shared_lock<std::shared_mutex> lock_;
    const EphemerisBody* body_;
  };
  class GridRead {
   public:
    explicit GridRead(const EphemerisBody& body) : lock_(body.grid_mutex_), body_(&body) {}
    const UniformGrid& grid() const { return body_->grid_; }

   private:
    std::shared_lock<std::shared_mutex> lock_;
    const EphemerisBody* body_;
  };

 private:
  std::string id_;
  std::string satellite_id_;
  mutable std::shared_mutex states_mutex_;
  std::vector<CartesianState> states_;  // TEME, ascending day counts, >= kSameEpochDays apart
  mutable std::shared_mutex grid_mutex_;
  UniformGrid grid_;
  std::int32_t norad_id_;
};

// A new shared body (see the EphemerisBody constructor).
EphemerisHandle new_ephemeris(std::string satellite_id, std::optional<std::int32_t> norad_id,
                              const CartesianState& first_state);

// The state at day count `ds50` in `time_system`, from `states` and `grid` as the caller holds
// them under the read locks. Day counts are compared as they stand, without conversion between
// time systems.
//   - empty table: nothing;
//   - one entry, or ds50 at or before the first entry, or at or after the last one (within
//     kSameEpochDays): that entry unchanged, with its own epoch (no extrapolation);
//   - an entry within the grid tolerance (uniform grid) or kSameEpochDays (search) of ds50: that
//     entry unchanged;
//   - otherwise the Hermite interpolation between the bracketing entries, epoch (ds50,
//     time_system), frame TEME.
// On a uniform grid the bracketing entries come from a division and a rounding; otherwise from a
// binary search.
std::optional<CartesianState> interpolate_state_with_grid(std::span<const CartesianState> states,
                                                          const UniformGrid& grid, double ds50,
                                                          TimeSystem time_system);

// Cubic Hermite interpolation between entries `a` and `b` (positions km, velocities km/s) at day
// count `ds50`: position from the two positions and velocities, velocity as the time derivative of
// that cubic. An interval shorter than kEmptyIntervalDays returns `a` unchanged. The result has
// epoch (ds50, time_system) and frame TEME.
CartesianState hermite_interpolate(const CartesianState& a, const CartesianState& b, double ds50,
                                   TimeSystem time_system);

// The key by which a satellite recognises a repeated ephemeris request:
// "<start>_<end>_<step>", each day count as "YYYY-MM-DDTHH:MM:SS.sss" (read as UTC, whatever the
// epochs' systems) and the step in seconds as its shortest round-trip decimal, left-padded with
// zeros to 4 characters: 2024-01-01 to 2024-01-02 at 60 s gives
// "2024-01-01T00:00:00.000_2024-01-02T00:00:00.000_0060".
std::string construct_ephemeris_id(double start_ds50, double end_ds50, double step_days);

// What a Python Ephemeris holds: a handle; copies share the body.
struct Ephemeris {
  EphemerisHandle body;
};

}  // namespace talvoran
