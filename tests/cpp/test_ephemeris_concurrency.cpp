// Readers sample one ephemeris while a writer appends to it, as the event searches may read a
// shared table that its builder is still filling. Every read must see a consistent table: a length
// that never shrinks, a grid that matches the states, and interpolated states equal to the motion
// the writer draws from. Built with -fsanitize=thread by scripts/test-tsan.sh, where data races on
// the table would be reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "elements/ephemeris.hpp"

namespace {

using talvoran::CartesianState;
using talvoran::EphemerisBody;
using talvoran::Epoch;
using talvoran::ReferenceFrame;
using talvoran::TimeSystem;

constexpr double kSecondsPerDay = 86400.0;
constexpr double kT0 = 27000.0;             // 2023-12-04, a binary-exact day count
constexpr double kStepDays = 1.0 / 1024.0;  // 84.375 s, exact in binary
constexpr double kStepSeconds = kStepDays * kSecondsPerDay;

// A cubic motion, which Hermite interpolation reproduces exactly; the velocity is its derivative.
CartesianState motion_at(double ds50) {
  const double s = (ds50 - kT0) * kSecondsPerDay;
  return {Epoch{ds50, TimeSystem::UTC},
          {6778.0 + s * (0.5 + s * (-1e-7 + s * 1e-13)), -120.0 + s * (7.6 + s * 2e-8),
           35.0 + s * (-1.2 + s * s * 3e-14)},
          {0.5 + s * (-2e-7 + s * 3e-13), 7.6 + s * 4e-8, -1.2 + s * s * 9e-14},
          ReferenceFrame::TEME};
}

// The writer's table after it appended node k: nodes 0..k at kStepDays. A reader checks what it
// sees against this, whatever k it happened to catch.
struct Observation {
  std::size_t length = 0;
  bool consistent = true;
};

// Reads the table the way the searches do, under both read locks held at once, and checks that
// the states and the grid agree with each other and with the motion.
Observation read_once(const EphemerisBody& eph, double t) {
  const EphemerisBody::StatesRead states(eph);
  const EphemerisBody::GridRead grid(eph);
  const auto table = states.states();
  Observation o{table.size(), true};
  const auto& g = grid.grid();
  // One node has no step yet; two or more have the writer's step, and the grid stays uniform.
  if (table.size() == 1) {
    o.consistent = !g.step_seconds.has_value();
  } else {
    o.consistent = g.is_uniform && g.step_seconds &&
                   std::abs(*g.step_seconds - kStepSeconds) < 1e-9 &&
                   table.back().epoch.days_since_1950 ==
                       kT0 + static_cast<double>(table.size() - 1) * kStepDays;
  }
  const auto got = talvoran::interpolate_state_with_grid(table, g, t, TimeSystem::UTC);
  if (!got) return {o.length, false};
  // Inside the table the interpolation gives the motion at the requested instant, or a node
  // unchanged when the instant is within the grid tolerance of it; beyond the table, the last node
  // unchanged. So the state must lie on the motion at its own epoch (1e-6 km, 1e-9 km/s: values
  // reach 1.3e7 km over the span, whose rounding is 2e-9 km), and that epoch must be the
  // request's within 1e-10 day.
  const double last = table.back().epoch.days_since_1950;
  const double at = got->epoch.days_since_1950;
  const CartesianState want = motion_at(at);
  o.consistent = o.consistent && std::abs(at - std::min(t, last)) <= 1e-10 &&
                 got->position.distance(want.position) < 1e-6 &&
                 got->velocity.distance(want.velocity) < 1e-9;
  return o;
}

TEST(EphemerisConcurrency, ReadersSeeAConsistentTableWhileAWriterAppends) {
  const auto eph = talvoran::new_ephemeris("shared", 1, motion_at(kT0));
  const int n_nodes = 20000;
  const int n_readers = 4;
  std::atomic<int> readers_started{0};
  std::atomic<bool> writer_done{false};
  std::atomic<int> inconsistent{0};
  std::atomic<std::int64_t> reads{0};
  std::atomic<std::int64_t> reads_of_a_growing_table{0};

  std::vector<std::thread> readers;
  for (int r = 0; r < n_readers; ++r) {
    readers.emplace_back([&, r] {
      std::size_t last_length = 0;
      std::uint64_t i = static_cast<std::uint64_t>(r);
      readers_started.fetch_add(1);
      // Keep reading until the writer has finished, then once more on the full table.
      for (bool done = false; !done;) {
        done = writer_done.load();
        i = i * 6364136223846793005ull + 1442695040888963407ull;  // LCG: spread the samples
        const double frac = static_cast<double>(i >> 11) / 9007199254740992.0;
        const double t = kT0 + frac * n_nodes * kStepDays;
        const Observation o = read_once(*eph, t);
        // The convenience path takes the same locks in the same order.
        const auto via_state_at = eph->state_at(Epoch{t, TimeSystem::UTC});
        const auto range = eph->get_epoch_range();
        if (!o.consistent || o.length < last_length || !via_state_at || !range ||
            range->first.days_since_1950 != kT0) {
          inconsistent.fetch_add(1);
        }
        last_length = o.length;
        reads.fetch_add(1);
        if (o.length < static_cast<std::size_t>(n_nodes)) reads_of_a_growing_table.fetch_add(1);
        // A shared_mutex may let readers in ahead of a waiting writer: readers that never pause
        // would starve the writer on a busy machine.
        std::this_thread::yield();
      }
    });
  }

  // The writer starts once every reader runs, so that reads overlap the appends.
  while (readers_started.load() < n_readers) std::this_thread::yield();
  for (int k = 1; k < n_nodes; ++k) {
    const double t = kT0 + k * kStepDays;
    EXPECT_TRUE(eph->add_state(motion_at(t)).has_value());
    // Now and then overwrite the previous node with itself: the replacement path under readers.
    if (k % 64 == 0) {
      EXPECT_TRUE(eph->add_state(motion_at(t - kStepDays)).has_value());
    }
    // Every 500 nodes the writer lets the readers catch up, so that even a fast writer is read
    // while it grows.
    if (k % 500 == 0) {
      const auto seen = reads.load();
      while (reads.load() < seen + n_readers) std::this_thread::yield();
    }
  }
  writer_done.store(true);
  for (auto& th : readers) th.join();

  EXPECT_EQ(inconsistent.load(), 0);
  EXPECT_EQ(eph->number_of_states(), static_cast<std::size_t>(n_nodes));
  EXPECT_GE(reads.load(), n_readers);
  // How much the reads overlapped the appends depends on scheduling: reported, not asserted.
  std::printf("%lld reads, %lld of them while the table grew\n",
              static_cast<long long>(reads.load()),
              static_cast<long long>(reads_of_a_growing_table.load()));
}

// Several tables read together, as a close-approach search reads two: every states lock first,
// then every grid lock, in the same order of bodies. Two writers fill the two tables meanwhile.
TEST(EphemerisConcurrency, PairReadsInLockOrderWhileBothTablesGrow) {
  const auto a = talvoran::new_ephemeris("a", 1, motion_at(kT0));
  const auto b = talvoran::new_ephemeris("b", 2, motion_at(kT0));
  const int n_nodes = 10000;
  std::atomic<int> writers_left{2};
  std::atomic<int> inconsistent{0};

  auto fill = [&](const talvoran::EphemerisHandle& eph) {
    for (int k = 1; k < n_nodes; ++k) {
      if (!eph->add_state(motion_at(kT0 + k * kStepDays))) inconsistent.fetch_add(1);
    }
    writers_left.fetch_sub(1);
  };
  auto read_pairs = [&](const talvoran::EphemerisHandle& first,
                        const talvoran::EphemerisHandle& second) {
    for (bool done = false; !done; std::this_thread::yield()) {
      done = writers_left.load() == 0;
      const EphemerisBody::StatesRead s1(*first);
      const EphemerisBody::StatesRead s2(*second);
      const EphemerisBody::GridRead g1(*first);
      const EphemerisBody::GridRead g2(*second);
      const double t = kT0 + 0.5 * kStepDays;
      const auto x =
          talvoran::interpolate_state_with_grid(s1.states(), g1.grid(), t, TimeSystem::UTC);
      const auto y =
          talvoran::interpolate_state_with_grid(s2.states(), g2.grid(), t, TimeSystem::UTC);
      // Once both have two nodes, the same motion sampled at the same instant agrees.
      if (!x || !y) inconsistent.fetch_add(1);
      if (x && y && s1.states().size() > 1 && s2.states().size() > 1 &&
          x->position.distance(y->position) > 1e-9) {
        inconsistent.fetch_add(1);
      }
    }
  };
  std::thread wa(fill, a), wb(fill, b);
  std::thread r1(read_pairs, a, b), r2(read_pairs, a, b);
  wa.join();
  wb.join();
  r1.join();
  r2.join();
  EXPECT_EQ(inconsistent.load(), 0);
  EXPECT_EQ(a->number_of_states(), static_cast<std::size_t>(n_nodes));
  EXPECT_EQ(b->number_of_states(), static_cast<std::size_t>(n_nodes));
}

}  // namespace
