#include "binding/logging.hpp"

#include <nanobind/nanobind.h>

#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <utility>

#include "engine/dllmain.h"

namespace nb = nanobind;

namespace talvoran {

namespace {

// Records queued by threads without the interpreter lock; bounded so that a flood from workers
// cannot grow without limit (the oldest are dropped and counted).
constexpr std::size_t kMaxPending = 1000;
std::mutex pending_mutex;
std::deque<std::pair<int, std::string>> pending;
std::size_t dropped = 0;
std::atomic<bool> installed{false};

void deliver(int level, const std::string& message) {
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);  // a log call never disturbs a pending error
  try {
    nb::module_::import_("logging")
        .attr("getLogger")("talvoran")
        .attr("log")(level, nb::str(message.data(), message.size()));
  } catch (nb::python_error& e) {
    // A failing handler must not turn a log call into a failure of the operation being logged.
    e.discard_as_unraisable("talvoran logging bridge");
  }
  PyErr_Restore(type, value, traceback);
}

void engine_sink(int level, const char* message) { log(static_cast<LogLevel>(level), message); }

}  // namespace

void flush_log_records() {
  std::deque<std::pair<int, std::string>> records;
  std::size_t lost = 0;
  {
    std::lock_guard lock(pending_mutex);
    records.swap(pending);
    std::swap(lost, dropped);
  }
  if (lost != 0) {
    deliver(static_cast<int>(LogLevel::Warning),
            std::to_string(lost) + " log records from worker threads were dropped");
  }
  for (const auto& [level, message] : records) deliver(level, message);
}

void log(LogLevel level, std::string_view message) {
  if (!installed.load() || !Py_IsInitialized()) return;
  if (PyGILState_Check()) {
    flush_log_records();
    deliver(static_cast<int>(level), std::string(message));
    return;
  }
  std::lock_guard lock(pending_mutex);
  if (pending.size() == kMaxPending) {
    pending.pop_front();
    ++dropped;
  }
  pending.emplace_back(static_cast<int>(level), std::string(message));
}

void install_logging_bridge() {
  installed.store(true);
  SetLogSink(&engine_sink);
}

}  // namespace talvoran
