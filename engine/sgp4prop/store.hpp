// SGP4 records by TLE key, shared by the calls of sgp4prop.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/tle.h"
#include "sgp4prop/sgp4_record.hpp"

namespace sgp4prop {

// One initialised key: the theory's record and the element set it was made from.
struct Satellite {
  sgp4::Record rec;
  std::array<double, XA_TLE_SIZE> xa;  // the TLE's arrays at initialisation
  std::string xs;
};

// Builds a satellite from TLE arrays; an empty message on success.
std::string MakeSatellite(const double* xa, const std::string& xs, Satellite& sat);

// ---- The key table ----
// An open-addressing hash, at most half full. Writers (under a mutex, in sgp4prop.cpp) fill,
// replace or empty slots with atomic stores and rebuild it into a new table when it fills.

struct Slot {
  std::atomic<std::int64_t> key{0};            // 0: never used (keys are positive); kept once set
  std::atomic<const Satellite*> sat{nullptr};  // null: removed
};

struct Table {
  explicit Table(std::size_t capacity)
      : mask(capacity - 1), slots(std::make_unique<Slot[]>(capacity)) {}
  std::size_t mask;  // capacity - 1, capacity a power of 2
  std::unique_ptr<Slot[]> slots;
};

// The slot holding key, or the empty slot where it would go (writers).
inline Slot& Probe(const Table& table, std::int64_t key) {
  const std::uint64_t mixed = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ULL;
  for (auto i = static_cast<std::size_t>(mixed >> 32) & table.mask;; i = (i + 1) & table.mask) {
    const std::int64_t k = table.slots[i].key.load(std::memory_order_acquire);
    if (k == key || k == 0) return table.slots[i];
  }
}

// The published table.
extern std::atomic<const Table*> g_table;

// ---- Readers ----
// A reader announces the writers' epoch in a slot of its own (epoch-based reclamation): writers
// unlink a satellite or table at once and free it only once no reader announced an epoch up to
// the one it was unlinked in. Reading takes no lock and writes no memory other threads read.

// One per thread that reads: the epoch it announced, 0 when not reading. Never freed; reused
// after its thread ends.
struct alignas(64) Reader {
  std::atomic<std::uint64_t> epoch{0};
  std::atomic<bool> taken{false};
  Reader* next = nullptr;
};

// This thread's reading state; trivially destructible, so using it costs no initialisation check.
struct ThreadReader {
  Reader* reader;
  int depth;
};
extern thread_local ThreadReader t_reader;

// Announces the current epoch for this thread (claiming its Reader on first use).
void Announce(ThreadReader& tr);

// A read of the store on this thread (they may nest). While one lives, no satellite or table the
// thread may have found is freed.
class ReadGuard {
 public:
  ReadGuard() : tr_(t_reader) {
    if (tr_.depth++ == 0) Announce(tr_);
  }
  ~ReadGuard() {
    if (--tr_.depth == 0) tr_.reader->epoch.store(0, std::memory_order_release);
  }
  ReadGuard(const ReadGuard&) = delete;
  ReadGuard& operator=(const ReadGuard&) = delete;

 private:
  ThreadReader& tr_;
};

// The satellite initialised under key, or null; only under a ReadGuard. A writer fills a new slot's
// satellite before its key, so a slot is only taken for key once its key reads so.
inline const Satellite* Find(std::int64_t key) {
  const Table* table = g_table.load(std::memory_order_seq_cst);
  if (table == nullptr) return nullptr;  // nothing initialised yet
  const std::uint64_t mixed = static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ULL;
  for (auto i = static_cast<std::size_t>(mixed >> 32) & table->mask;; i = (i + 1) & table->mask) {
    const Slot& slot = table->slots[i];
    const std::int64_t k = slot.key.load(std::memory_order_acquire);
    if (k == key) return slot.sat.load(std::memory_order_seq_cst);
    if (k == 0) return nullptr;
  }
}

// Sets the message of a key that is not initialised; returns 1.
int NotInitialised(std::int64_t key);

// The status of a failed SGP4 call: zeroes the state unless the orbit decayed and sets the
// message (naming satellite, code and time).
int Failed(const Satellite& sat, double tsince_min, int code, double r[3], double v[3]);

// SGP4 at tsince; on failure sets the message and returns the status. Used by every propagating
// call.
inline int Propagate(const Satellite& sat, double tsince_min, double r[3], double v[3],
                     sgp4::MeanState* mean = nullptr) {
  const int code = sgp4::Sgp4(sat.rec, tsince_min, r, v, mean);
  return code == sgp4::kOk ? 0 : Failed(sat, tsince_min, code, r, v);
}

// Runs fn(const Satellite&) on the satellite of key; false (and a message set) when the key is
// not initialised.
template <class Fn>
bool WithSatellite(std::int64_t key, Fn&& fn) {
  ReadGuard guard;
  const Satellite* sat = Find(key);
  if (sat == nullptr) {
    NotInitialised(key);
    return false;
  }
  fn(*sat);
  return true;
}

}  // namespace sgp4prop
