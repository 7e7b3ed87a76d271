// SGP4 records by TLE key, shared by the calls of sgp4prop.
#pragma once

#include <array>
#include <cstdint>
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

// Runs fn(const Satellite&) under the store's shared lock; false (and a message set) when the
// key is not initialised.
template <class Fn>
bool WithSatellite(std::int64_t key, Fn&& fn);

// SGP4 at tsince; on failure sets the message (naming satellite, code and time) and returns the
// status. Used by every propagating call.
int Propagate(const Satellite& sat, double tsince_min, double r[3], double v[3],
              sgp4::MeanState* mean = nullptr);

// Lock-guarded lookup, implemented in sgp4prop.cpp.
const Satellite* LockAndFind(std::int64_t key);
void Unlock();

template <class Fn>
bool WithSatellite(std::int64_t key, Fn&& fn) {
  const Satellite* sat = LockAndFind(key);
  if (sat == nullptr) return false;
  struct Guard {
    ~Guard() { Unlock(); }
  } guard;
  fn(*sat);
  return true;
}

}  // namespace sgp4prop
