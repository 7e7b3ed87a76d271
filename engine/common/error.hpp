// Reporting to callers across the C surface: failures through dllmain's per-thread last-error
// text, notable events through its log sink.
#pragma once

#include <string>
#include <string_view>

#include "engine/dllmain.h"

namespace engine {

// Records msg as this thread's last error and returns the failure status `status`.
inline int fail(std::string_view msg, int status = 1) {
  std::string text(msg);
  SetLastErrMsg(text.c_str());
  return status;
}

}  // namespace engine

namespace engine {

// Log levels of EngineLog, as Python's logging numbers them.
enum class LogLevel : int { Debug = 10, Info = 20, Warning = 30, Error = 40 };

inline void log(LogLevel level, std::string_view msg) {
  std::string text(msg);
  EngineLog(static_cast<int>(level), text.c_str());
}

}  // namespace engine
