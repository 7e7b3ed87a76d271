// The process-wide worker pool behind every data-parallel loop.
//
// The pool exists at most once per process. It is built by start(count), or with its default size
// (one thread per core) the first time anything needs it; from then on its size is fixed. Loops
// collect results by input index, so their output never depends on scheduling. Workers never touch
// Python objects.
#pragma once

#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/task_arena.h>

#include <cstddef>
#include <optional>
#include <type_traits>
#include <vector>

namespace talvoran {

class WorkerPool {
 public:
  // Builds the pool with `count` threads (0: one per core) and waits until they have all started.
  // Throws InternalError when the pool already exists.
  static void start(std::size_t count);

  // The pool's size, starting the pool at its default size if it does not exist yet.
  static std::size_t thread_count();

  // Runs f() inside the pool, isolated so that an exception in one loop cannot cancel unrelated
  // work, and waits for it.
  template <class F>
  static void run(F&& f) {
    arena().execute([&] { oneapi::tbb::this_task_arena::isolate(f); });
  }

 private:
  static oneapi::tbb::task_arena& arena();
};

// Calls f(i) for i in [0, n) on the worker pool and returns the results in index order. The first
// exception thrown by any f(i) is rethrown to the caller once the loop has stopped.
template <class F>
auto parallel_map(std::size_t n, F&& f) -> std::vector<std::invoke_result_t<F&, std::size_t>> {
  using R = std::invoke_result_t<F&, std::size_t>;
  std::vector<std::optional<R>> slots(n);
  WorkerPool::run([&] {
    oneapi::tbb::parallel_for(std::size_t{0}, n, [&](std::size_t i) { slots[i].emplace(f(i)); });
  });
  std::vector<R> out;
  out.reserve(n);
  for (auto& s : slots) out.push_back(std::move(*s));
  return out;
}

}  // namespace talvoran
