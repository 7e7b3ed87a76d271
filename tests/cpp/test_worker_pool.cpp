// The worker pool: fixed size once built, results in input order, exceptions propagated.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#include "binding/internal_error.hpp"
#include "binding/worker_pool.hpp"

namespace {

using talvoran::InternalError;
using talvoran::parallel_map;
using talvoran::WorkerPool;

// The pool is process-wide, so its lifecycle is checked in one test that runs first in this
// executable's only pool-building path.
TEST(WorkerPool, SizeIsFixedOnceBuilt) {
  WorkerPool::start(3);
  EXPECT_EQ(WorkerPool::thread_count(), 3u);
  EXPECT_THROW(WorkerPool::start(4), InternalError);
  EXPECT_EQ(WorkerPool::thread_count(), 3u);
}

TEST(WorkerPool, ParallelMapKeepsInputOrder) {
  const std::size_t n = 10000;
  std::mutex m;
  std::set<std::thread::id> threads;
  auto squares = parallel_map(n, [&](std::size_t i) {
    {
      std::lock_guard lock(m);
      threads.insert(std::this_thread::get_id());
    }
    return static_cast<long long>(i) * static_cast<long long>(i);
  });
  ASSERT_EQ(squares.size(), n);
  for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(squares[i], static_cast<long long>(i * i));
  EXPECT_LE(threads.size(), 3u) << "work must stay inside the pool's threads";
}

TEST(WorkerPool, ExceptionReachesTheCaller) {
  EXPECT_THROW(parallel_map(100,
                            [](std::size_t i) -> int {
                              if (i == 57) throw std::runtime_error("item 57 failed");
                              return 0;
                            }),
               std::runtime_error);
  // The pool stays usable after a failed loop.
  EXPECT_EQ(parallel_map(4, [](std::size_t i) { return i; }).back(), 3u);
}

TEST(WorkerPool, EmptyLoop) {
  EXPECT_TRUE(parallel_map(0, [](std::size_t i) { return i; }).empty());
}

}  // namespace
