// astro_func_interface: single-call conversions of the engine's astrodynamics library, and the
// names of the slots of its topocentric and range-azimuth-elevation arrays.
#include <nanobind/nanobind.h>

#include "binding/modules.hpp"

namespace talvoran {

void fill_astro_func_interface(nanobind::module_& m) {
  // Slots of a topocentric array (10 doubles).
  m.attr("XA_TOPO_RA") = 0;
  m.attr("XA_TOPO_DEC") = 1;
  m.attr("XA_TOPO_AZ") = 2;
  m.attr("XA_TOPO_EL") = 3;
  m.attr("XA_TOPO_RANGE") = 4;
  m.attr("XA_TOPO_RADOT") = 5;
  m.attr("XA_TOPO_DECDOT") = 6;
  m.attr("XA_TOPO_AZDOT") = 7;
  m.attr("XA_TOPO_ELDOT") = 8;
  m.attr("XA_TOPO_RANGEDOT") = 9;
  m.attr("XA_TOPO_SIZE") = 10;
  // Slots of a range-azimuth-elevation array (6 doubles).
  m.attr("XA_RAE_RANGE") = 0;
  m.attr("XA_RAE_AZ") = 1;
  m.attr("XA_RAE_EL") = 2;
  m.attr("XA_RAE_RANGEDOT") = 3;
  m.attr("XA_RAE_AZDOT") = 4;
  m.attr("XA_RAE_ELDOT") = 5;
  m.attr("XA_RAE_SIZE") = 6;
  // Year-of-equinox selectors.
  m.attr("YROFEQNX_2000") = 2;
  m.attr("YROFEQNX_CURR") = 1;
}

}  // namespace talvoran
