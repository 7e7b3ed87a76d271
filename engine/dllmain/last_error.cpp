// The last error message, one per thread, so that a failing worker never overwrites the message
// another thread is about to read.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/dllmain.h"

namespace {

thread_local std::string last_error;

}  // namespace

extern "C" {

void GetLastErrMsg(char* lastErrMsg) {
  if (lastErrMsg == nullptr) return;
  const std::size_t n = std::min<std::size_t>(last_error.size(), ENGINE_TEXT_LEN);
  std::memcpy(lastErrMsg, last_error.data(), n);
  lastErrMsg[n] = '\0';
}

void SetLastErrMsg(const char* msg) {
  if (msg == nullptr) {
    last_error.clear();
    return;
  }
  last_error.assign(msg, strnlen(msg, ENGINE_TEXT_LEN));
}

}  // extern "C"
