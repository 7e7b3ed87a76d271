// The logging bridge: records of the engine's log sink and of the module's own C++ code reach
// Python's `logging` under the logger "talvoran".
//
// A record is delivered at once when the calling thread holds the interpreter lock. A worker
// thread never waits for the lock (the thread that holds it may be waiting for that worker), so
// its records are queued and delivered by the next record or bridge call made under the lock.
#pragma once

#include <string_view>

namespace talvoran {

// Python's logging levels.
enum class LogLevel : int { Debug = 10, Info = 20, Warning = 30, Error = 40, Critical = 50 };

void log(LogLevel level, std::string_view message);

// Delivers the records queued by worker threads. Needs the interpreter lock.
void flush_log_records();

// Installs the bridge (the engine's log sink included). Called once, at import, under the lock.
void install_logging_bridge();

}  // namespace talvoran
