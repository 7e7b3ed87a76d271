#include "elements/ephemeris.hpp"

#include <cmath>
#include <mutex>

#include "binding/uuid.hpp"
#include "engine/timefunc.h"
#include "time/time_components.hpp"

namespace talvoran {

namespace {

constexpr double kSecondsPerDay = 86400.0;

// Where `ds50` falls in `states`: {index of the entry with the same epoch, true}, or {index at
// which it would be inserted, false}. Entries are kSameEpochDays apart or more, so at most two can
// be within tolerance of ds50; either one is the same epoch.
std::pair<std::size_t, bool> locate(std::span<const CartesianState> states, double ds50) {
  std::size_t lo = 0;
  std::size_t hi = states.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const double d = states[mid].epoch.days_since_1950 - ds50;
    if (std::abs(d) < kSameEpochDays) return {mid, true};
    if (d < 0.0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return {lo, false};
}

// Seconds from `earlier` to `later`, `earlier` converted to `later`'s time system.
std::expected<double, std::string> spacing_seconds(const CartesianState& earlier,
                                                   const CartesianState& later) {
  auto span = later.epoch.minus(earlier.epoch);
  if (!span) return std::unexpected(span.error());
  return span->in_seconds();
}

// The grid after entry `k` of `states` was written. Only a uniform grid is revised: its start
// follows the first state, its step is set by the first two states, and a spacing next to entry k
// that differs from the step by more than the tolerance switches it off for good.
std::expected<void, std::string> update_grid(UniformGrid& grid,
                                             std::span<const CartesianState> states,
                                             std::size_t k) {
  if (states.empty() || !grid.is_uniform) return {};
  grid.start = states.front().epoch;
  if (states.size() == 1) {
    grid.step_seconds.reset();
    return {};
  }
  if (!grid.step_seconds) {
    auto step = spacing_seconds(states[0], states[1]);
    if (!step) {
      grid.is_uniform = false;
      return std::unexpected(step.error());
    }
    if (!(*step > 0.0)) {
      grid.is_uniform = false;
      return {};
    }
    grid.step_seconds = *step;
  }
  const double step = *grid.step_seconds;
  // Compares the spacing from entry i to entry i + 1 with the step.
  auto matches = [&](std::size_t i) -> std::expected<bool, std::string> {
    auto spacing = spacing_seconds(states[i], states[i + 1]);
    if (!spacing) return std::unexpected(spacing.error());
    return std::abs(*spacing - step) <= kGridToleranceSeconds;
  };
  bool mismatch = false;
  if (k > 0) {
    auto m = matches(k - 1);
    if (!m) {
      grid.is_uniform = false;
      return std::unexpected(m.error());
    }
    mismatch = !*m;
  }
  if (k + 1 < states.size()) {
    auto m = matches(k);
    if (!m) {
      grid.is_uniform = false;
      return std::unexpected(m.error());
    }
    mismatch = mismatch || !*m;
  }
  if (mismatch) grid.is_uniform = false;
  return {};
}

// "YYYY-MM-DDTHH:MM:SS.sss" of a day count read as UTC.
std::string calendar_text(double ds50) {
  TimeComponents c;
  UTCToTimeComps2(ds50, &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second);
  return to_iso(c);
}

}  // namespace

EphemerisBody::EphemerisBody(std::string satellite_id, std::optional<std::int32_t> norad_id,
                             const CartesianState& first_state)
    : id_(new_uuid4()),
      satellite_id_(std::move(satellite_id)),
      states_{first_state.to_frame(ReferenceFrame::TEME)},
      grid_{std::nullopt, first_state.epoch, true},
      norad_id_(norad_id.value_or(kUnknownNoradId)) {}

EphemerisHandle new_ephemeris(std::string satellite_id, std::optional<std::int32_t> norad_id,
                              const CartesianState& first_state) {
  return std::make_shared<EphemerisBody>(std::move(satellite_id), norad_id, first_state);
}

std::expected<void, std::string> EphemerisBody::add_state(const CartesianState& state) {
  // The frame rotation calls the engine and needs no lock: done before the writer blocks readers.
  const CartesianState teme = state.to_frame(ReferenceFrame::TEME);
  std::unique_lock states_lock(states_mutex_);
  const auto [k, same] = locate(states_, teme.epoch.days_since_1950);
  if (same) {
    states_[k] = teme;
  } else {
    states_.insert(states_.begin() + static_cast<std::ptrdiff_t>(k), teme);
  }
  std::unique_lock grid_lock(grid_mutex_);
  auto updated = update_grid(grid_, states_, k);
  grid_lock.unlock();
  states_lock.unlock();
  return updated;
}

std::size_t EphemerisBody::number_of_states() const {
  std::shared_lock lock(states_mutex_);
  return states_.size();
}

std::optional<std::pair<Epoch, Epoch>> EphemerisBody::get_epoch_range() const {
  std::shared_lock lock(states_mutex_);
  if (states_.empty()) return std::nullopt;
  return std::pair{states_.front().epoch, states_.back().epoch};
}

std::optional<CartesianState> EphemerisBody::state_at(const Epoch& epoch) const {
  const StatesRead states(*this);
  const GridRead grid(*this);
  return interpolate_state_with_grid(states.states(), grid.grid(), epoch.days_since_1950,
                                     epoch.time_system);
  // The locks are released in reverse order of construction: grid first, then states.
}

std::optional<CartesianState> interpolate_state_with_grid(std::span<const CartesianState> states,
                                                          const UniformGrid& grid, double ds50,
                                                          TimeSystem time_system) {
  if (states.empty()) return std::nullopt;
  if (states.size() == 1) return states.front();
  const CartesianState& first = states.front();
  const CartesianState& last = states.back();
  if (ds50 < first.epoch.days_since_1950 ||
      std::abs(ds50 - first.epoch.days_since_1950) < kSameEpochDays) {
    return first;
  }
  if (ds50 > last.epoch.days_since_1950 ||
      std::abs(ds50 - last.epoch.days_since_1950) < kSameEpochDays) {
    return last;
  }
  const auto n_states = static_cast<double>(states.size());
  if (grid.is_uniform && grid.step_seconds && *grid.step_seconds > 0.0) {
    const double step = *grid.step_seconds;
    const double f = (ds50 - grid.start.days_since_1950) / (step / kSecondsPerDay);
    const double n = std::round(f);  // halves away from zero
    if (step * std::abs(f - n) <= kGridToleranceSeconds && n >= 0.0 && n < n_states) {
      return states[static_cast<std::size_t>(n)];
    }
    const double i = std::floor(f);
    if (i < 0.0) return first;
    if (i + 1.0 < n_states) {
      const auto a = static_cast<std::size_t>(i);
      return hermite_interpolate(states[a], states[a + 1], ds50, time_system);
    }
    return last;
  }
  const auto [k, same] = locate(states, ds50);
  if (same) return states[k];
  // ds50 lies strictly inside the table, so 0 < k < size.
  return hermite_interpolate(states[k - 1], states[k], ds50, time_system);
}

CartesianState hermite_interpolate(const CartesianState& a, const CartesianState& b, double ds50,
                                   TimeSystem time_system) {
  const double d = b.epoch.days_since_1950 - a.epoch.days_since_1950;
  if (std::abs(d) < kEmptyIntervalDays) return a;
  const double u = (ds50 - a.epoch.days_since_1950) / d;
  const double dt = kSecondsPerDay * d;  // interval length, seconds
  const double u2 = u * u;
  const double u3 = u2 * u;
  // Cubic Hermite basis and the derivatives (with respect to u) that give the velocity.
  const double h00 = 2.0 * u3 - 3.0 * u2 + 1.0;
  const double h10 = u3 - 2.0 * u2 + u;
  const double h01 = 3.0 * u2 - 2.0 * u3;
  const double h11 = u3 - u2;
  const double g0 = 6.0 * u2 - 6.0 * u;
  const double g10 = 3.0 * u2 - 4.0 * u + 1.0;
  const double g11 = 3.0 * u2 - 2.0 * u;
  auto position = [&](double ra, double va, double rb, double vb) {
    return h00 * ra + h10 * dt * va + h01 * rb + h11 * dt * vb;
  };
  auto velocity = [&](double ra, double va, double rb, double vb) {
    return (g0 * (ra - rb) + g10 * dt * va + g11 * dt * vb) / dt;
  };
  const CartesianVector& ra = a.position;
  const CartesianVector& va = a.velocity;
  const CartesianVector& rb = b.position;
  const CartesianVector& vb = b.velocity;
  return CartesianState{
      Epoch{ds50, time_system},
      {position(ra.x, va.x, rb.x, vb.x), position(ra.y, va.y, rb.y, vb.y),
       position(ra.z, va.z, rb.z, vb.z)},
      {velocity(ra.x, va.x, rb.x, vb.x), velocity(ra.y, va.y, rb.y, vb.y),
       velocity(ra.z, va.z, rb.z, vb.z)},
      ReferenceFrame::TEME,
  };
}

std::string construct_ephemeris_id(double start_ds50, double end_ds50, double step_days) {
  std::string step = shortest_decimal(step_days * kSecondsPerDay);
  if (step.size() < 4) step.insert(0, 4 - step.size(), '0');
  return calendar_text(start_ds50) + "_" + calendar_text(end_ds50) + "_" + step;
}

}  // namespace talvoran
