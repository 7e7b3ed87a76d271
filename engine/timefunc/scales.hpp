// Differences between the time scales at a UTC day count.
#pragma once

#include "timefunc/result.hpp"

namespace timefunc {

// TAI - UTC in seconds at a UTC day count, from ERFA's eraDat: the leap seconds from 1972 on and,
// from 1960 to 1971, the offsets and drift rates of the rubber-second UTC. Fails before 1960,
// where UTC is not defined.
Result<double> TaiMinusUtcSeconds(double ds50_utc);

}  // namespace timefunc
