// The process-wide sink of the engine's log records.
#include <atomic>

#include "engine/dllmain.h"

namespace {

std::atomic<EngineLogSink> sink{nullptr};

}  // namespace

extern "C" {

void SetLogSink(EngineLogSink s) { sink.store(s); }

void EngineLog(int level, const char* message) {
  if (EngineLogSink s = sink.load(); s != nullptr && message != nullptr) s(level, message);
}

}  // extern "C"
