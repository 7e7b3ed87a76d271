// Reporting failures across the C surface: every engine library records its messages through
// dllmain, which keeps one last-error text per thread.
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
