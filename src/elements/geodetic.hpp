// Records other parts of the system fill: a geodetic point, and one satellite's state relative
// to another.
#pragma once

#include <string>

#include "elements/vectors.hpp"
#include "time/epoch.hpp"

namespace talvoran {

struct GeodeticPosition {
  double latitude = 0.0;   // degrees
  double longitude = 0.0;  // degrees
  double altitude = 0.0;   // km
};

struct RelativeState {
  Epoch epoch;
  CartesianVector position;  // secondary relative to origin, km
  CartesianVector velocity;  // km/s
  std::string origin_satellite_id;
  std::string secondary_satellite_id;
};

}  // namespace talvoran
