#include "elements/orbit_plot.hpp"

namespace talvoran {

void OrbitPlotData::add_point(const OrbitPlotState& p) {
  epochs.push_back(p.epoch.to_iso());
  latitudes.push_back(p.latitude);
  longitudes.push_back(p.longitude);
  altitudes.push_back(p.altitude);
  semi_major_axes.push_back(p.semi_major_axis);
  eccentricities.push_back(p.eccentricity);
  inclinations.push_back(p.inclination);
  raans.push_back(p.raan);
  radii.push_back(p.radius);
  apogee_radii.push_back(p.apogee_radius);
  perigee_radii.push_back(p.perigee_radius);
}

}  // namespace talvoran
