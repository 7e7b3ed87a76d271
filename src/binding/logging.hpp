// The native logging facade: C++ code logs through log(), and the bridge installed at import hands
// each record to Python's `logging` under the logger "talvoran". Records from worker threads take
// the interpreter lock to be delivered; before the bridge is installed they are dropped.
#pragma once

#include <string_view>

namespace talvoran {

// Python's logging levels.
enum class LogLevel : int { Debug = 10, Info = 20, Warning = 30, Error = 40, Critical = 50 };

void log(LogLevel level, std::string_view message);

// Installs the bridge to Python's logging. Called once, at import, with the interpreter lock held.
void install_logging_bridge();

}  // namespace talvoran
