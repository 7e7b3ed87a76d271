// Series for plotting front ends: parallel lists of epochs, geodetic coordinates, elements and
// radii, one entry per point in the order points were added.
#pragma once

#include <string>
#include <vector>

#include "time/epoch.hpp"

namespace talvoran {

struct OrbitPlotState {
  double latitude = 0.0;         // degrees, geodetic
  double longitude = 0.0;        // degrees
  double altitude = 0.0;         // km above the ellipsoid
  double semi_major_axis = 0.0;  // km
  double eccentricity = 0.0;
  double inclination = 0.0;     // degrees
  double raan = 0.0;            // degrees
  double radius = 0.0;          // km
  double apogee_radius = 0.0;   // km
  double perigee_radius = 0.0;  // km
  Epoch epoch;
};

struct OrbitPlotData {
  std::string satellite_id;
  std::vector<std::string> epochs;  // YYYY-MM-DDTHH:MM:SS.sss of the count read as UTC
  std::vector<double> latitudes, longitudes, altitudes, semi_major_axes, eccentricities,
      inclinations, raans, radii, apogee_radii, perigee_radii;

  explicit OrbitPlotData(std::string id = {}) : satellite_id(std::move(id)) {}
  void add_point(const OrbitPlotState& p);
};

}  // namespace talvoran
