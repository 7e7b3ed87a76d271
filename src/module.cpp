// The extension module _talvoran: load-time key mode, the module tree and the root functions.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include <climits>

#include "binding/errors.hpp"
#include "binding/logging.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "binding/worker_pool.hpp"
#include "engine/dllmain.h"

namespace nb = nanobind;

namespace {

// Runs when the shared library is loaded, before the module init: every key the engine issues to
// this module is a direct-memory-access key. A failure is ignored (its message is read and
// dropped so that it cannot be mistaken for the failure of a later call).
__attribute__((constructor)) void set_key_mode_at_load() {
  if (SetAllKeyMode(KEYMODE_DMA) != 0) {
    char discarded[ENGINE_TEXT_BUF] = {};
    GetLastErrMsg(discarded);
  }
}

// Pools larger than this are refused rather than left to exhaust the system's threads.
constexpr unsigned long long kMaxThreads = 1024;

void set_thread_count(nb::handle count) {
  // A negative count is an OverflowError, as any conversion of a negative int to unsigned.
  if (!PyLong_Check(count.ptr())) {
    throw nb::type_error("set_thread_count(): argument 'count' must be int");
  }
  const unsigned long long n = PyLong_AsUnsignedLongLong(count.ptr());
  if (n == static_cast<unsigned long long>(-1) && PyErr_Occurred()) throw nb::python_error();
  if (n > kMaxThreads) {
    throw nb::value_error(("Thread count " + std::to_string(n) + " is more than the limit of " +
                           std::to_string(kMaxThreads))
                              .c_str());
  }
  talvoran::WorkerPool::start(static_cast<std::size_t>(n));
}

struct Submodule {
  const char* short_name;
  const char* sys_name;
  void (*fill)(nb::module_&);
};

void fill_nothing_yet(nb::module_&) {}

// Registration order of the submodules.
const Submodule kSubmodules[] = {
    {"saal", "talvoran._talvoran.saal", talvoran::fill_saal},
    {"astro_func_interface", "talvoran._talvoran.saal.astro_func_interface",
     talvoran::fill_astro_func_interface},
    {"time_func_interface", "talvoran._talvoran.saal.time_func_interface",
     talvoran::fill_time_func_interface},
    {"enums", "talvoran._talvoran.enums", talvoran::fill_enums},
    {"time", "talvoran._talvoran.time", talvoran::fill_time},
    {"elements", "talvoran._talvoran.elements", talvoran::fill_elements},
    {"propagation", "talvoran._talvoran.propagation", talvoran::fill_propagation},
    {"catalogs", "talvoran._talvoran.catalogs", talvoran::fill_catalogs},
    {"bodies", "talvoran._talvoran.bodies", talvoran::fill_bodies},
    {"events", "talvoran._talvoran.events", fill_nothing_yet},
    {"estimation", "talvoran._talvoran.estimation", fill_nothing_yet},
    {"exceptions", "talvoran._talvoran.exceptions", talvoran::fill_exceptions},
};

}  // namespace

namespace talvoran {

void fill_root(nb::module_& m) {
  m.def("get_thread_count", &WorkerPool::thread_count,
        "The number of threads of the process-wide worker pool, starting the pool at its default "
        "size (one thread per core) if it does not exist yet.");
  m.def(
      "set_thread_count", &set_thread_count, nb::arg("count"),
      nb::sig("def set_thread_count(count: int) -> None"),
      "Builds the process-wide worker pool with `count` threads (0: one per core) and waits until "
      "they have started. The pool's size cannot change once it exists.");
  m.def("set_jpl_ephemeris_file_path", &set_jpl_ephemeris_file_path, nb::arg("jpl_path"),
        "Uses the JPL ephemeris file (SPK .bsp) at `jpl_path` for Sun and Moon positions from 1960 "
        "to 2050. Without one, analytic series serve.");
}

void fill_saal(nb::module_& m) {
  fill_main_interface(m);
  bind_tle_interface(m);
}

void fill_time(nb::module_& m) {
  bind_time_span(m);
  bind_epoch(m);
  bind_time_components(m);
}

void fill_elements(nb::module_& m) {
  bind_tle(m);
  bind_cartesian_state(m);
  bind_cartesian_vector(m);
  bind_keplerian_state(m);
  bind_keplerian_elements(m);
  bind_ephemeris(m);
  bind_spherical_vector(m);
  bind_equinoctial_elements(m);
  bind_geodetic_position(m);
  bind_orbit_plot_state(m);
  bind_orbit_plot_data(m);
  bind_relative_state(m);
}

}  // namespace talvoran

NB_MODULE(_talvoran, m) {
  talvoran::install_logging_bridge();
  talvoran::register_error_translators();
  talvoran::fill_root(m);
  for (const Submodule& s : kSubmodules) {
    nb::module_ sub = talvoran::binding::new_submodule(s.short_name);
    s.fill(sub);
    talvoran::binding::register_submodule(m, sub, s.short_name, s.sys_name);
  }
}
