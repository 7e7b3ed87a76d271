// time_func_interface: the engine's time functions on raw day counts since 1950.
#include <nanobind/nanobind.h>

#include "binding/modules.hpp"

namespace talvoran {

void fill_time_func_interface(nanobind::module_&) {}

}  // namespace talvoran
