// The ephemeris table: creation, insertion and replacement, the uniform grid, the lookup's edge
// cases, Hermite interpolation against motions it must reproduce exactly, accuracy against direct
// SGP4 between the nodes, and the request key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "elements/ephemeris.hpp"
#include "engine/timefunc.h"
#include "propagation/inertial_propagator.hpp"

namespace {

using talvoran::CartesianState;
using talvoran::CartesianVector;
using talvoran::EphemerisHandle;
using talvoran::Epoch;
using talvoran::ReferenceFrame;
using talvoran::TimeSystem;
using talvoran::UniformGrid;

constexpr double kSecondsPerDay = 86400.0;

// 2024-01-01 00:00:00 UTC as a day count since 1950, from the engine's calendar.
double ds50_2024() { return TimeComps2ToUTC(2024, 1, 1, 0, 0, 0.0); }

// A cubic motion, the one Hermite interpolation reproduces exactly: position (km) and velocity
// (km/s) at `s` seconds after `t0`. Coefficients of LEO size (7000 km, 7 km/s) with curvature.
struct CubicMotion {
  double t0_ds50;
  CartesianVector c0{6778.0, -120.0, 35.0}, c1{0.5, 7.6, -1.2}, c2{-4.2e-3, 1.0e-3, 3.0e-4},
      c3{1.0e-7, -2.5e-7, 4.0e-8};

  CartesianState at_ds50(double ds50) const {
    const double s = (ds50 - t0_ds50) * kSecondsPerDay;
    auto r = [&](double a, double b, double c, double d) { return a + s * (b + s * (c + s * d)); };
    auto v = [&](double b, double c, double d) { return b + s * (2.0 * c + s * 3.0 * d); };
    return {Epoch{ds50, TimeSystem::UTC},
            {r(c0.x, c1.x, c2.x, c3.x), r(c0.y, c1.y, c2.y, c3.y), r(c0.z, c1.z, c2.z, c3.z)},
            {v(c1.x, c2.x, c3.x), v(c1.y, c2.y, c3.y), v(c1.z, c2.z, c3.z)},
            ReferenceFrame::TEME};
  }
};

// A table of `n` states of `motion` at `step_s` seconds from its t0.
EphemerisHandle cubic_table(const CubicMotion& m, int n, double step_s) {
  auto eph = talvoran::new_ephemeris("cubic", 1, m.at_ds50(m.t0_ds50));
  for (int k = 1; k < n; ++k) {
    EXPECT_TRUE(eph->add_state(m.at_ds50(m.t0_ds50 + k * step_s / kSecondsPerDay)).has_value());
  }
  return eph;
}

UniformGrid grid_of(const EphemerisHandle& eph) {
  const talvoran::EphemerisBody::StatesRead states(*eph);
  const talvoran::EphemerisBody::GridRead grid(*eph);
  return grid.grid();
}

std::vector<CartesianState> states_of(const EphemerisHandle& eph) {
  const talvoran::EphemerisBody::StatesRead states(*eph);
  return {states.states().begin(), states.states().end()};
}

void expect_same_state(const CartesianState& got, const CartesianState& want) {
  EXPECT_EQ(got.epoch.days_since_1950, want.epoch.days_since_1950);
  EXPECT_EQ(got.epoch.time_system, want.epoch.time_system);
  EXPECT_EQ(got.position.x, want.position.x);
  EXPECT_EQ(got.position.y, want.position.y);
  EXPECT_EQ(got.position.z, want.position.z);
  EXPECT_EQ(got.velocity.x, want.velocity.x);
  EXPECT_EQ(got.velocity.y, want.velocity.y);
  EXPECT_EQ(got.velocity.z, want.velocity.z);
  EXPECT_EQ(got.frame, want.frame);
}

// --- Creation --------------------------------------------------------------------------------

TEST(EphemerisCreation, OneStateAnswersEveryEpochWithItself) {
  const CubicMotion m{ds50_2024()};
  const CartesianState first = m.at_ds50(m.t0_ds50);
  const auto eph = talvoran::new_ephemeris("sat-1", std::nullopt, first);
  EXPECT_EQ(eph->satellite_id(), "sat-1");
  EXPECT_EQ(eph->norad_id(), talvoran::kUnknownNoradId);
  EXPECT_EQ(eph->number_of_states(), 1u);
  for (double offset : {-3650.0, -1.0, 0.0, 1e-12, 0.5, 3650.0}) {
    SCOPED_TRACE(offset);
    const auto got = eph->state_at(Epoch{m.t0_ds50 + offset, TimeSystem::TAI});
    ASSERT_TRUE(got.has_value());
    expect_same_state(*got, first);  // its own epoch and system, not the request's
  }
  const UniformGrid g = grid_of(eph);
  EXPECT_FALSE(g.step_seconds.has_value());
  EXPECT_TRUE(g.is_uniform);
  EXPECT_EQ(g.start.days_since_1950, m.t0_ds50);
}

TEST(EphemerisCreation, IdsAreFreshVersion4Uuids) {
  const CubicMotion m{ds50_2024()};
  const auto a = talvoran::new_ephemeris("s", 25544, m.at_ds50(m.t0_ds50));
  const auto b = talvoran::new_ephemeris("s", 25544, m.at_ds50(m.t0_ds50));
  const std::regex uuid4("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
  EXPECT_TRUE(std::regex_match(a->id(), uuid4)) << a->id();
  EXPECT_NE(a->id(), b->id());
  EXPECT_EQ(a->norad_id(), 25544);
}

// States enter in TEME with their epoch untouched; the rotation itself is the frame code's own.
TEST(EphemerisCreation, StatesAreStoredInTeme) {
  const CubicMotion m{ds50_2024()};
  CartesianState j2000 = m.at_ds50(m.t0_ds50);
  j2000.frame = ReferenceFrame::J2000;
  const auto eph = talvoran::new_ephemeris("s", 1, j2000);
  CartesianState later = m.at_ds50(m.t0_ds50 + 0.01);
  later.frame = ReferenceFrame::J2000;
  ASSERT_TRUE(eph->add_state(later).has_value());
  const auto stored = states_of(eph);
  ASSERT_EQ(stored.size(), 2u);
  expect_same_state(stored[0], j2000.to_frame(ReferenceFrame::TEME));
  expect_same_state(stored[1], later.to_frame(ReferenceFrame::TEME));
  // Precession from J2000 to the 2024 equator moves a LEO position by kilometres.
  EXPECT_GT(stored[0].position.distance(j2000.position), 1.0);
}

// --- Insertion, replacement and the grid -----------------------------------------------------

TEST(EphemerisTable, StatesAreKeptInTimeOrderAndSameEpochsReplaced) {
  const CubicMotion m{ds50_2024()};
  const double t0 = m.t0_ds50;
  const auto eph = talvoran::new_ephemeris("s", 1, m.at_ds50(t0 + 0.3));
  // (offset in days, expected length after adding)
  struct Row {
    double offset;
    std::size_t length;
  };
  const Row rows[] = {
      {0.1, 2},           // before the first
      {0.5, 3},           // after the last
      {0.2, 4},           // in between
      {0.2 + 5e-11, 4},   // within 1e-10 day of 0.2: replaces it
      {0.3 - 9e-11, 4},   // within 1e-10 day of 0.3: replaces it
      {0.5 + 1.5e-10, 5}  // 1.5e-10 day after the last: a new entry
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.offset);
    ASSERT_TRUE(eph->add_state(m.at_ds50(t0 + row.offset)).has_value());
    EXPECT_EQ(eph->number_of_states(), row.length);
  }
  const auto stored = states_of(eph);
  EXPECT_TRUE(std::is_sorted(stored.begin(), stored.end(), [](const auto& a, const auto& b) {
    return a.epoch.days_since_1950 < b.epoch.days_since_1950;
  }));
  // The replacement took the new epoch and state, not just the position.
  expect_same_state(stored[1], m.at_ds50(t0 + 0.2 + 5e-11));
  expect_same_state(stored[2], m.at_ds50(t0 + 0.3 - 9e-11));
  const auto range = eph->get_epoch_range();
  ASSERT_TRUE(range.has_value());
  EXPECT_EQ(range->first.days_since_1950, t0 + 0.1);
  EXPECT_EQ(range->second.days_since_1950, t0 + 0.5 + 1.5e-10);
}

TEST(EphemerisGrid, AscendingConstantStepKeepsTheGrid) {
  const CubicMotion m{ds50_2024()};
  const auto eph = cubic_table(m, 100, 60.0);
  const UniformGrid g = grid_of(eph);
  EXPECT_TRUE(g.is_uniform);
  ASSERT_TRUE(g.step_seconds.has_value());
  // The step comes from two day counts near 27000 days, whose last bit is 3.6e-12 day (0.3 us).
  EXPECT_NEAR(*g.step_seconds, 60.0, 1e-6);
  EXPECT_EQ(g.start.days_since_1950, m.t0_ds50);
}

// Each way of breaking the spacing turns the grid off; replacing a node with itself does not.
TEST(EphemerisGrid, BrokenSpacingTurnsTheGridOffForGood) {
  const CubicMotion m{ds50_2024()};
  const double step_d = 60.0 / kSecondsPerDay;
  struct Row {
    const char* what;
    double offset_steps;  // where the extra state goes, in steps from t0
    bool stays_uniform;
  };
  const Row rows[] = {
      {"replace a node by itself", 4.0, true},
      {"append at the next node", 10.0, true},
      {"insert between two nodes", 4.5, false},
      {"append one and a half steps on", 10.5, false},
      {"prepend a node earlier than the first", -1.0, true},
      {"prepend half a step early", -0.5, false},
      {"node offset by 1e-5 s (over the 8.64e-6 s tolerance)", 10.0 + 1e-5 / 60.0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto eph = cubic_table(m, 10, 60.0);
    ASSERT_TRUE(eph->add_state(m.at_ds50(m.t0_ds50 + row.offset_steps * step_d)).has_value());
    EXPECT_EQ(grid_of(eph).is_uniform, row.stays_uniform);
    // Once off, a well-placed state does not bring it back.
    const double next = eph->get_epoch_range()->second.days_since_1950 + step_d;
    ASSERT_TRUE(eph->add_state(m.at_ds50(next)).has_value());
    EXPECT_EQ(grid_of(eph).is_uniform, row.stays_uniform);
  }
}

// A prepended node moves the grid's start with it.
TEST(EphemerisGrid, StartFollowsTheFirstState) {
  const CubicMotion m{ds50_2024()};
  const auto eph = cubic_table(m, 5, 60.0);
  const double earlier = m.t0_ds50 - 60.0 / kSecondsPerDay;
  ASSERT_TRUE(eph->add_state(m.at_ds50(earlier)).has_value());
  EXPECT_TRUE(grid_of(eph).is_uniform);
  EXPECT_EQ(grid_of(eph).start.days_since_1950, earlier);
}

// A UT1 day count cannot be converted, so the spacing cannot be checked: the state is stored, the
// grid is switched off, and the caller hears why.
TEST(EphemerisGrid, UnconvertibleSpacingIsReportedAndTurnsTheGridOff) {
  const CubicMotion m{ds50_2024()};
  CartesianState a = m.at_ds50(m.t0_ds50);
  CartesianState b = m.at_ds50(m.t0_ds50 + 60.0 / kSecondsPerDay);
  a.epoch.time_system = b.epoch.time_system = TimeSystem::UT1;
  const auto eph = talvoran::new_ephemeris("s", 1, a);
  const auto added = eph->add_state(b);
  ASSERT_FALSE(added.has_value());
  EXPECT_EQ(added.error(), "UT1 to UT1 conversion not supported");
  EXPECT_EQ(eph->number_of_states(), 2u);
  EXPECT_FALSE(grid_of(eph).is_uniform);
}

// --- Lookup ----------------------------------------------------------------------------------

// The grid path and the search path agree to the bit, at nodes and between them.
TEST(EphemerisLookup, GridAndSearchGiveIdenticalResults) {
  const CubicMotion m{ds50_2024()};
  const auto eph = cubic_table(m, 50, 60.0);
  const auto states = states_of(eph);
  const UniformGrid grid = grid_of(eph);
  ASSERT_TRUE(grid.is_uniform);
  UniformGrid no_grid = grid;
  no_grid.is_uniform = false;
  const double step_d = 60.0 / kSecondsPerDay;
  for (double steps : {0.0, 0.25, 1.0, 1.5, 7.0, 7.0 + 1e-11 / step_d, 7.999, 23.5, 48.9, 49.0}) {
    SCOPED_TRACE(steps);
    const double t = m.t0_ds50 + steps * step_d;
    const auto on_grid = talvoran::interpolate_state_with_grid(states, grid, t, TimeSystem::UTC);
    const auto searched =
        talvoran::interpolate_state_with_grid(states, no_grid, t, TimeSystem::UTC);
    ASSERT_TRUE(on_grid && searched);
    expect_same_state(*on_grid, *searched);
  }
}

// An extra node between two others turns the grid off; lookups at the old nodes still return the
// nodes themselves.
TEST(EphemerisLookup, InsertedNodeKeepsNodeLookupsExact) {
  const CubicMotion m{ds50_2024()};
  const auto eph = cubic_table(m, 20, 60.0);
  const double step_d = 60.0 / kSecondsPerDay;
  std::vector<CartesianState> before;
  for (int k = 0; k < 20; ++k) before.push_back(*eph->state_at({m.t0_ds50 + k * step_d}));
  ASSERT_TRUE(eph->add_state(m.at_ds50(m.t0_ds50 + 7.5 * step_d)).has_value());
  ASSERT_FALSE(grid_of(eph).is_uniform);
  for (int k = 0; k < 20; ++k) {
    SCOPED_TRACE(k);
    expect_same_state(*eph->state_at({m.t0_ds50 + k * step_d}), before[k]);
  }
  expect_same_state(*eph->state_at({m.t0_ds50 + 7.5 * step_d}),
                    m.at_ds50(m.t0_ds50 + 7.5 * step_d));
}

TEST(EphemerisLookup, EdgesReturnEntriesUnchanged) {
  const CubicMotion m{ds50_2024()};
  const auto eph = cubic_table(m, 10, 60.0);
  const auto states = states_of(eph);
  const double step_d = 60.0 / kSecondsPerDay;
  struct Row {
    const char* what;
    double t_offset;  // days from t0, requested in TAI
    std::size_t entry;
  };
  const Row rows[] = {
      {"long before the first", -30.0, 0},
      {"just before the first", -1e-9, 0},
      {"within 1e-10 day after the first", 9e-11, 0},
      {"at the last", 9 * step_d, 9},
      {"within 1e-10 day before the last", 9 * step_d - 9e-11, 9},
      {"after the last", 9 * step_d + 1.0, 9},
      {"within the grid tolerance after node 4", 4 * step_d + 5e-11, 4},
      {"within the grid tolerance before node 4", 4 * step_d - 5e-11, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto got = eph->state_at({m.t0_ds50 + row.t_offset, TimeSystem::TAI});
    ASSERT_TRUE(got.has_value());
    expect_same_state(*got, states[row.entry]);  // UTC epoch of the entry, not the request's TAI
  }
  // Between nodes the state carries the requested epoch and system.
  const double t = m.t0_ds50 + 3.25 * step_d;
  const auto between = eph->state_at({t, TimeSystem::TAI});
  EXPECT_EQ(between->epoch.days_since_1950, t);
  EXPECT_EQ(between->epoch.time_system, TimeSystem::TAI);
  EXPECT_EQ(between->frame, ReferenceFrame::TEME);
}

TEST(EphemerisLookup, EmptyTableGivesNothing) {
  EXPECT_FALSE(talvoran::interpolate_state_with_grid({}, UniformGrid{}, 27000.0, TimeSystem::UTC));
}

// --- Hermite interpolation -------------------------------------------------------------------

// A cubic Hermite interpolant reproduces any cubic exactly, whatever the interval, so the table's
// lookups of a cubic motion must match the motion itself at every fraction of a step, up to
// rounding: positions near 7000 km carry 1e-12 km of rounding and the day counts' 3.6e-12-day
// last bit shifts the cubic by its velocity (a few km/s) times 0.3 us, so 1e-8 km and 1e-10 km/s.
TEST(EphemerisHermite, ReproducesCubicMotionExactly) {
  const CubicMotion m{ds50_2024()};
  for (double step_s : {1.0, 60.0, 600.0, 3600.0}) {
    const auto eph = cubic_table(m, 6, step_s);
    for (double u : {0.0, 0.1, 0.25, 0.5, 0.7, 0.999}) {
      for (int k : {0, 2, 4}) {
        SCOPED_TRACE(testing::Message() << "step " << step_s << " s, node " << k << ", u " << u);
        const double t = m.t0_ds50 + (k + u) * step_s / kSecondsPerDay;
        const auto got = eph->state_at({t});
        const CartesianState want = m.at_ds50(t);
        EXPECT_LT(got->position.distance(want.position), 1e-8);
        EXPECT_LT(got->velocity.distance(want.velocity), 1e-10);
      }
    }
  }
}

// Halfway between two nodes: position (ra + rb)/2 + D (va - vb)/8 with D the interval in seconds,
// and velocity 3 (rb - ra)/(2 D) - (va + vb)/4 (the cubic basis at u = 1/2). The day counts are
// binary fractions (an eighth of a day apart), so u is exactly 1/2 and only the arithmetic rounds:
// terms up to 1e5 km give some 1e-11 km, hence 1e-9 km and 1e-12 km/s.
TEST(EphemerisHermite, MidpointFormula) {
  const double ta = 27000.0;
  const double tb = ta + 0.125;
  const CartesianState a{{ta}, {7000.0, -10.0, 20.0}, {0.1, 7.5, -0.2}, ReferenceFrame::TEME};
  const CartesianState b{{tb}, {6990.0, 890.0, -4.0}, {-1.0, 7.4, -0.3}, ReferenceFrame::TEME};
  const CartesianState got = talvoran::hermite_interpolate(a, b, ta + 0.0625, TimeSystem::UTC);
  const double dt = (tb - ta) * kSecondsPerDay;
  auto pos = [&](double ra, double rb, double va, double vb) {
    return (ra + rb) / 2.0 + dt * (va - vb) / 8.0;
  };
  auto vel = [&](double ra, double rb, double va, double vb) {
    return 1.5 * (rb - ra) / dt - (va + vb) / 4.0;
  };
  EXPECT_NEAR(got.position.x, pos(7000.0, 6990.0, 0.1, -1.0), 1e-9);
  EXPECT_NEAR(got.position.y, pos(-10.0, 890.0, 7.5, 7.4), 1e-9);
  EXPECT_NEAR(got.position.z, pos(20.0, -4.0, -0.2, -0.3), 1e-9);
  EXPECT_NEAR(got.velocity.x, vel(7000.0, 6990.0, 0.1, -1.0), 1e-12);
  EXPECT_NEAR(got.velocity.y, vel(-10.0, 890.0, 7.5, 7.4), 1e-12);
  EXPECT_NEAR(got.velocity.z, vel(20.0, -4.0, -0.2, -0.3), 1e-12);
  EXPECT_EQ(got.epoch.days_since_1950, ta + 0.0625);
}

TEST(EphemerisHermite, EmptyIntervalReturnsTheFirstEntry) {
  const CartesianState a{{27000.0}, {7000.0, 0.0, 0.0}, {0.0, 7.5, 0.0}, ReferenceFrame::TEME};
  CartesianState b = a;
  b.position.x = 7001.0;
  expect_same_state(talvoran::hermite_interpolate(a, b, 27000.0, TimeSystem::TAI), a);
}

// --- Accuracy against SGP4 -------------------------------------------------------------------

// The ISS in CelesTrak's "active" group of 2020-09-30 (engine/tests/data/catalog-20200930.tle).
constexpr const char* kIss1 =
    "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993";
constexpr const char* kIss2 =
    "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396";

// A table of SGP4 states at 60-s steps over one day, sampled between its nodes and compared with
// SGP4 run directly at the same instants.
//
// Position bound: the error of cubic Hermite interpolation on [a, b] is
// (t-a)^2 (t-b)^2 r''''(xi) / 4!, at most h^4/384 max|r''''| at mid-interval. For a near-circular
// orbit |r''''| = n^4 a, so with the ISS's n = 15.488 rev/day = 1.1263e-3 rad/s, a = 6796 km and
// h = 60 s the bound is 1.094e-8 km/s^4 * 1.296e7 s^4 / 384 = 3.69e-4 km (0.37 m). J2 adds terms
// at twice the orbital frequency, about 16 * 1.5e-3 = 2.4 % of |r''''|; eccentricity 1.3e-4 and
// drag less: the bound is taken with a 5 % margin.
//
// Velocity bound: for a motion whose velocity is its position's derivative the error is at most
// h^3 / (72 sqrt 3) max|r''''| = 1.89e-5 km/s. SGP4's velocity is not quite the derivative of its
// position (its short-period velocity terms are truncated): the difference delta reaches 2e-5 km/s
// for this orbit (python-sgp4 shows the same, 1.0 to 2.0e-5 km/s over the day). The Hermite
// velocity takes delta at both nodes with weights (3u-1)(u-1) and u(3u-2), whose magnitudes add up
// to at most 1, and is compared with SGP4's velocity, which carries delta once more: the bound
// adds 2 max|delta|, with delta measured here by central differences of SGP4's positions over
// +-0.5 s (truncation v''' (0.5 s)^2 / 6 = 4e-7 km/s; 1e-6 km/s allowed for it).
TEST(EphemerisAccuracy, HermiteBetweenSgp4NodesOfLeoAt60Seconds) {
  auto tle = talvoran::TLE::from_lines(kIss1, kIss2);
  ASSERT_TRUE(tle.has_value()) << tle.error().message;
  const talvoran::InertialPropagator sgp4(std::move(*tle));
  const double t0 = sgp4.tle().epoch.days_since_1950;
  const double step_d = 60.0 * 1.1574074074074073e-05;
  const int n_nodes = 1441;
  auto first = sgp4.cartesian_state_at({t0});
  ASSERT_TRUE(first.has_value());
  const auto eph = talvoran::new_ephemeris("iss", 25544, *first);
  for (int k = 1; k < n_nodes; ++k) {
    auto s = sgp4.cartesian_state_at({t0 + k * step_d});
    ASSERT_TRUE(s.has_value());
    ASSERT_TRUE(eph->add_state(*s).has_value());
  }
  ASSERT_TRUE(grid_of(eph).is_uniform);

  const double n_rad_s = 15.48814123 * 2.0 * std::numbers::pi / 86400.0;
  const double a_km = std::cbrt(398600.8 / (n_rad_s * n_rad_s));  // WGS-72 mu, as SGP4 uses
  const double r4 = std::pow(n_rad_s, 4) * a_km;
  const double h = 60.0;
  const double pos_bound = 1.05 * r4 * std::pow(h, 4) / 384.0;
  // SGP4's velocity minus the derivative of its position, at every node; the difference quotient
  // divides by the day counts' actual difference.
  double delta = 0.0;
  for (int k = 0; k < n_nodes; ++k) {
    const double t = t0 + k * step_d;
    const double t_minus = t - 0.5 / kSecondsPerDay;
    const double t_plus = t + 0.5 / kSecondsPerDay;
    const auto s0 = sgp4.cartesian_state_at({t});
    const auto sm = sgp4.cartesian_state_at({t_minus});
    const auto sp = sgp4.cartesian_state_at({t_plus});
    ASSERT_TRUE(s0 && sm && sp);
    const double dt = (t_plus - t_minus) * kSecondsPerDay;
    const CartesianVector dr = sp->position - sm->position;
    delta = std::max(delta, s0->velocity.distance({dr.x / dt, dr.y / dt, dr.z / dt}));
  }
  const double vel_bound =
      1.05 * r4 * std::pow(h, 3) / (72.0 * std::sqrt(3.0)) + 2.0 * (delta + 1e-6);

  double worst_pos = 0.0, worst_vel = 0.0;
  for (int k = 0; k + 1 < n_nodes; k += 7) {
    for (double u : {0.1, 0.2113, 0.3, 0.5, 0.7, 0.7887, 0.9}) {
      const double t = t0 + (k + u) * step_d;
      const auto got = eph->state_at({t});
      const auto want = sgp4.cartesian_state_at({t});
      ASSERT_TRUE(got && want);
      worst_pos = std::max(worst_pos, got->position.distance(want->position));
      worst_vel = std::max(worst_vel, got->velocity.distance(want->velocity));
    }
  }
  RecordProperty("worst_position_error_km", std::to_string(worst_pos));
  RecordProperty("worst_velocity_error_km_s", std::to_string(worst_vel));
  std::printf(
      "LEO at 60 s: worst position error %.3e km (bound %.3e), velocity %.3e km/s (bound "
      "%.3e, of which SGP4 velocity against its position %.3e)\n",
      worst_pos, pos_bound, worst_vel, vel_bound, delta);
  EXPECT_LT(worst_pos, pos_bound);
  EXPECT_LT(worst_vel, vel_bound);
  // The bound is not vacuous: the interpolation error at mid-interval is most of it.
  EXPECT_GT(worst_pos, 0.5 * pos_bound);
}

// --- Request key -----------------------------------------------------------------------------

TEST(EphemerisId, TextOfStartEndAndStep) {
  const double start = ds50_2024();
  const double day = 1.0;
  struct Row {
    double start_offset_s, span_days, step_days;
    const char* want;
  };
  const Row rows[] = {
      {0.0, day, 60.0 / kSecondsPerDay, "2024-01-01T00:00:00.000_2024-01-02T00:00:00.000_0060"},
      {5.5, day, 0.5 / kSecondsPerDay, "2024-01-01T00:00:05.500_2024-01-02T00:00:05.500_00.5"},
      {0.0, 0.25, 600.0 / kSecondsPerDay, "2024-01-01T00:00:00.000_2024-01-01T06:00:00.000_0600"},
      {0.0, 2.0, 1.0, "2024-01-01T00:00:00.000_2024-01-03T00:00:00.000_86400"},
      {0.0, day, 10.25 / kSecondsPerDay, "2024-01-01T00:00:00.000_2024-01-02T00:00:00.000_10.25"},
      {0.0, day, 1.0 / kSecondsPerDay, "2024-01-01T00:00:00.000_2024-01-02T00:00:00.000_0001"},
      // No double day count times 86400 gives exactly 30.5: the text shows what the count holds.
      {0.0, day, 30.5 / kSecondsPerDay,
       "2024-01-01T00:00:00.000_2024-01-02T00:00:00.000_30.499999999999996"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.want);
    const double s = start + row.start_offset_s / kSecondsPerDay;
    EXPECT_EQ(talvoran::construct_ephemeris_id(s, s + row.span_days, row.step_days), row.want);
  }
}

}  // namespace
