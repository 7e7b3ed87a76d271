// Python classes OrbitPlotState and OrbitPlotData (read-only; filled by satellites and catalogs).
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>
#include <nanobind/stl/vector.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "elements/orbit_plot.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

template <double OrbitPlotState::*Field>
void def_point_field(nb::class_<OrbitPlotState>& cls, const char* name) {
  cls.def_prop_ro(name, [](const OrbitPlotState& p) { return p.*Field; });
}

template <std::vector<double> OrbitPlotData::*Field>
void def_series(nb::class_<OrbitPlotData>& cls, const char* name) {
  cls.def_prop_ro(name, [](const OrbitPlotData& d) { return d.*Field; });
}

}  // namespace

void bind_orbit_plot_state(nb::module_& m) {
  nb::class_<OrbitPlotState> cls(m, "OrbitPlotState",
                                 nb::type_slots(binding::no_constructor_slots()),
                                 "One point of an orbit plot.");
  def_point_field<&OrbitPlotState::latitude>(cls, "latitude");
  def_point_field<&OrbitPlotState::longitude>(cls, "longitude");
  def_point_field<&OrbitPlotState::altitude>(cls, "altitude");
  def_point_field<&OrbitPlotState::semi_major_axis>(cls, "semi_major_axis");
  def_point_field<&OrbitPlotState::eccentricity>(cls, "eccentricity");
  def_point_field<&OrbitPlotState::inclination>(cls, "inclination");
  def_point_field<&OrbitPlotState::raan>(cls, "raan");
  def_point_field<&OrbitPlotState::radius>(cls, "radius");
  def_point_field<&OrbitPlotState::apogee_radius>(cls, "apogee_radius");
  def_point_field<&OrbitPlotState::perigee_radius>(cls, "perigee_radius");
  cls.def_prop_ro("epoch", [](const OrbitPlotState& p) { return p.epoch; });
  binding::set_builtins_module(cls);
}

void bind_orbit_plot_data(nb::module_& m) {
  nb::class_<OrbitPlotData> cls(m, "OrbitPlotData", nb::type_slots(binding::no_constructor_slots()),
                                "Parallel series of epochs, geodetic coordinates, elements and "
                                "radii; every read returns a new list.");
  cls.def_prop_ro("satellite_id", [](const OrbitPlotData& d) { return d.satellite_id; });
  cls.def_prop_ro("epochs", [](const OrbitPlotData& d) { return d.epochs; });
  def_series<&OrbitPlotData::latitudes>(cls, "latitudes");
  def_series<&OrbitPlotData::longitudes>(cls, "longitudes");
  def_series<&OrbitPlotData::altitudes>(cls, "altitudes");
  def_series<&OrbitPlotData::semi_major_axes>(cls, "semi_major_axes");
  def_series<&OrbitPlotData::eccentricities>(cls, "eccentricities");
  def_series<&OrbitPlotData::inclinations>(cls, "inclinations");
  def_series<&OrbitPlotData::raans>(cls, "raans");
  def_series<&OrbitPlotData::radii>(cls, "radii");
  def_series<&OrbitPlotData::apogee_radii>(cls, "apogee_radii");
  def_series<&OrbitPlotData::perigee_radii>(cls, "perigee_radii");
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
