// The key mode shared by every memory library. Read on every add, from any thread.
#include <atomic>
#include <string>

#include "common/error.hpp"
#include "engine/dllmain.h"

namespace {

std::atomic<int> key_mode{KEYMODE_NODUP};

}  // namespace

extern "C" {

int SetAllKeyMode(int keyMode) {
  if (keyMode != KEYMODE_NODUP && keyMode != KEYMODE_DMA) {
    return engine::fail("Invalid key mode " + std::to_string(keyMode) +
                        ": expected 0 (no duplicates) or 1 (direct memory access)");
  }
  key_mode.store(keyMode, std::memory_order_relaxed);
  return 0;
}

int GetAllKeyMode(void) { return key_mode.load(std::memory_order_relaxed); }

}  // extern "C"
