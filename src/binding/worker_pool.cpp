#include "binding/worker_pool.hpp"

#include <oneapi/tbb/global_control.h>
#include <oneapi/tbb/info.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "binding/internal_error.hpp"

namespace talvoran {

namespace {

struct Pool {
  std::size_t threads;
  // Lets TBB run more threads than cores when asked to; kept for the life of the pool.
  std::unique_ptr<oneapi::tbb::global_control> limit;
  oneapi::tbb::task_arena arena;

  explicit Pool(std::size_t n)
      : threads(n),
        limit(std::make_unique<oneapi::tbb::global_control>(
            oneapi::tbb::global_control::max_allowed_parallelism, n)),
        arena(static_cast<int>(n)) {
    arena.initialize();
    wait_until_all_threads_joined();
  }

  // Runs one task per thread, each holding its thread until all have arrived: it completes only
  // once every worker has started and joined the arena. The deadline keeps a system that refuses
  // threads from hanging the caller; the pool then simply runs with fewer threads.
  void wait_until_all_threads_joined() {
    std::atomic<std::size_t> arrived{0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    arena.execute([&] {
      oneapi::tbb::parallel_for(
          oneapi::tbb::blocked_range<std::size_t>(0, threads, 1),
          [&](const oneapi::tbb::blocked_range<std::size_t>&) {
            arrived.fetch_add(1);
            while (arrived.load() < threads && std::chrono::steady_clock::now() < deadline) {
              std::this_thread::yield();
            }
          },
          oneapi::tbb::simple_partitioner());
    });
  }
};

std::mutex pool_mutex;
Pool* pool = nullptr;  // never destroyed: worker threads may outlive static destruction order

Pool& get_or_start(std::size_t count, bool must_be_new) {
  std::lock_guard lock(pool_mutex);
  if (pool != nullptr) {
    if (must_be_new) {
      throw InternalError("The worker pool already exists with " + std::to_string(pool->threads) +
                          " threads; its size cannot be changed");
    }
    return *pool;
  }
  const std::size_t n =
      count == 0 ? static_cast<std::size_t>(oneapi::tbb::info::default_concurrency()) : count;
  pool = new Pool(n);
  return *pool;
}

}  // namespace

void WorkerPool::start(std::size_t count) { get_or_start(count, true); }

std::size_t WorkerPool::thread_count() { return get_or_start(0, false).threads; }

oneapi::tbb::task_arena& WorkerPool::arena() { return get_or_start(0, false).arena; }

}  // namespace talvoran
