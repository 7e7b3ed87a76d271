// The functions that fill each submodule, in the order the module registers them.
#pragma once

#include <nanobind/nanobind.h>

#include <string>

namespace talvoran {

void fill_root(nanobind::module_& m);
void set_jpl_ephemeris_file_path(const std::string& jpl_path);
void fill_saal(nanobind::module_& m);
void fill_main_interface(nanobind::module_& m);
void fill_astro_func_interface(nanobind::module_& m);
void fill_time_func_interface(nanobind::module_& m);
void fill_enums(nanobind::module_& m);
void fill_time(nanobind::module_& m);
void bind_time_span(nanobind::module_& m);
void bind_epoch(nanobind::module_& m);
void bind_time_components(nanobind::module_& m);
void fill_elements(nanobind::module_& m);
void bind_tle(nanobind::module_& m);
void bind_tle_interface(nanobind::module_& m);
void fill_propagation(nanobind::module_& m);
void bind_orbit_plot_state(nanobind::module_& m);
void bind_orbit_plot_data(nanobind::module_& m);
void fill_catalogs(nanobind::module_& m);
void fill_bodies(nanobind::module_& m);
void bind_cartesian_state(nanobind::module_& m);
void bind_cartesian_vector(nanobind::module_& m);
void bind_keplerian_state(nanobind::module_& m);
void bind_keplerian_elements(nanobind::module_& m);
void bind_ephemeris(nanobind::module_& m);
void bind_spherical_vector(nanobind::module_& m);
void bind_equinoctial_elements(nanobind::module_& m);
void bind_geodetic_position(nanobind::module_& m);
void bind_relative_state(nanobind::module_& m);
void fill_exceptions(nanobind::module_& m);

}  // namespace talvoran
