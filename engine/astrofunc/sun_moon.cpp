// Placeholder until the Sun and Moon models land.
#include "astrofunc/common.hpp"
#include "engine/astrofunc.h"

extern "C" {

int JplSetParameters(const char*, double, double) {
  return engine::fail("JplSetParameters: not available yet");
}

int JplCompSunMoonPos(double, double sunPos[3], double moonPos[3]) {
  return astrofunc::Fail("JplCompSunMoonPos", "not available yet",
                         {std::span<double>(sunPos, 3), std::span<double>(moonPos, 3)});
}

}  // extern "C"
