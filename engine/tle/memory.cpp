// TLE memory: element sets under positive 64-bit keys.
//
// NOTE: a set never changes after it is added, so readers copy it out under a shared lock and
// any number of threads may read at once; only adding and removing take the exclusive lock.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "common/error.hpp"
#include "engine/dllmain.h"
#include "engine/tle.h"

namespace tle {
std::string ParseLines(const char* line1, const char* line2, double* xa, std::string& xs);
}

namespace {

struct ElementSet {
  std::array<double, XA_TLE_SIZE> xa{};
  std::string xs;
};

// Satellite number and epoch: the identity by which key mode KEYMODE_NODUP refuses a second set.
using Identity = std::pair<double, double>;

class Memory {
 public:
  std::int64_t Add(const double* xa, const char* xs) {
    ElementSet set;
    std::copy(xa, xa + XA_TLE_SIZE, set.xa.begin());
    if (xs != nullptr) set.xs.assign(xs, strnlen(xs, ENGINE_TEXT_LEN));
    const Identity id{set.xa[XA_TLE_SATNUM], set.xa[XA_TLE_EPOCH]};
    std::unique_lock lock(mutex_);
    if (GetAllKeyMode() == KEYMODE_NODUP) {
      const auto it = by_identity_.find(id);
      if (it != by_identity_.end()) {
        engine::fail("TLE of satellite " + std::to_string(static_cast<long long>(id.first)) +
                     " at epoch " + std::to_string(id.second) +
                     " (ds50 UTC) is already loaded under key " + std::to_string(it->second) +
                     " (key mode: no duplicates)");
        return -1;
      }
    }
    const std::int64_t key = next_key_++;
    by_identity_.emplace(id, key);
    sets_.emplace(key, std::move(set));
    return key;
  }

  bool Get(std::int64_t key, double* xa, char* xs) const {
    std::shared_lock lock(mutex_);
    const auto it = sets_.find(key);
    if (it == sets_.end()) return false;
    if (xa != nullptr) std::copy(it->second.xa.begin(), it->second.xa.end(), xa);
    if (xs != nullptr) {
      std::memcpy(xs, it->second.xs.data(), it->second.xs.size());
      xs[it->second.xs.size()] = '\0';
    }
    return true;
  }

  bool Remove(std::int64_t key) {
    std::unique_lock lock(mutex_);
    const auto it = sets_.find(key);
    if (it == sets_.end()) return false;
    const Identity id{it->second.xa[XA_TLE_SATNUM], it->second.xa[XA_TLE_EPOCH]};
    auto [first, last] = by_identity_.equal_range(id);
    for (; first != last; ++first) {
      if (first->second == key) {
        by_identity_.erase(first);
        break;
      }
    }
    sets_.erase(it);
    return true;
  }

  void Clear() {
    std::unique_lock lock(mutex_);
    sets_.clear();
    by_identity_.clear();
  }

  int Count() const {
    std::shared_lock lock(mutex_);
    return static_cast<int>(sets_.size());
  }

 private:
  mutable std::shared_mutex mutex_;
  std::unordered_map<std::int64_t, ElementSet> sets_;
  std::multimap<Identity, std::int64_t> by_identity_;
  std::int64_t next_key_ = 1;  // keys are never reused, whatever the key mode
};

Memory& TheMemory() {
  static Memory memory;
  return memory;
}

// Checks an array before it is held: finite slots, a whole satellite number that a TLE can
// carry, a known ephemeris type.
std::string Validate(const double* xa) {
  for (int i = 0; i < XA_TLE_SIZE; ++i) {
    if (!std::isfinite(xa[i]))
      return "XA_TLE slot " + std::to_string(i) + " is not a finite number";
  }
  const double satnum = xa[XA_TLE_SATNUM];
  if (satnum != std::floor(satnum) || satnum < 0.0 || satnum > 339999.0) {
    return "satellite number " + std::to_string(satnum) +
           " out of range (a whole number 0 to 339999)";
  }
  const double type = xa[XA_TLE_EPHTYPE];
  if (type != TLETYPE_SGP && type != TLETYPE_SGP4 && type != TLETYPE_XP && type != TLETYPE_SP) {
    return "ephemeris type " + std::to_string(type) + " of satellite " +
           std::to_string(static_cast<long long>(satnum)) + " is not 0, 2, 4 or 6";
  }
  return {};
}

}  // namespace

extern "C" {

int64_t TleAddSatFrArray(const double xa_tle[XA_TLE_SIZE], const char* xs_tle) {
  if (xa_tle == nullptr) {
    engine::fail("TleAddSatFrArray: xa_tle is a null pointer");
    return -1;
  }
  const std::string msg = Validate(xa_tle);
  if (!msg.empty()) {
    engine::fail(msg);
    return -1;
  }
  return TheMemory().Add(xa_tle, xs_tle);
}

int64_t TleAddSatFrLines(const char* line1, const char* line2) {
  std::array<double, XA_TLE_SIZE> xa{};
  std::string xs;
  const std::string msg = tle::ParseLines(line1, line2, xa.data(), xs);
  if (!msg.empty()) {
    engine::fail(msg);
    return -1;
  }
  return TleAddSatFrArray(xa.data(), xs.c_str());
}

int TleDataToArray(int64_t satKey, double xa_tle[XA_TLE_SIZE], char* xs_tle) {
  if (!TheMemory().Get(satKey, xa_tle, xs_tle)) {
    return engine::fail("TLE key " + std::to_string(satKey) + " is not loaded");
  }
  return 0;
}

int TleRemoveSat(int64_t satKey) {
  if (!TheMemory().Remove(satKey)) {
    return engine::fail("TLE key " + std::to_string(satKey) + " is not loaded");
  }
  return 0;
}

int TleRemoveAllSats(void) {
  TheMemory().Clear();
  return 0;
}

int TleGetCount(void) { return TheMemory().Count(); }

}  // extern "C"
