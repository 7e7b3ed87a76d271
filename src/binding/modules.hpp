// The functions that fill each submodule, in the order the module registers them.
#pragma once

#include <nanobind/nanobind.h>

namespace talvoran {

void fill_root(nanobind::module_& m);
void fill_saal(nanobind::module_& m);
void fill_main_interface(nanobind::module_& m);
void fill_astro_func_interface(nanobind::module_& m);
void fill_time_func_interface(nanobind::module_& m);
void fill_enums(nanobind::module_& m);
void fill_time(nanobind::module_& m);
void bind_time_span(nanobind::module_& m);
void bind_epoch(nanobind::module_& m);
void bind_time_components(nanobind::module_& m);
void fill_exceptions(nanobind::module_& m);

}  // namespace talvoran
