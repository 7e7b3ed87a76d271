#include "binding/logging.hpp"

#include <nanobind/nanobind.h>

#include <atomic>

namespace nb = nanobind;

namespace talvoran {

namespace {

std::atomic<bool> bridge_installed{false};

}  // namespace

void install_logging_bridge() { bridge_installed.store(true); }

void log(LogLevel level, std::string_view message) {
  if (!bridge_installed.load() || !Py_IsInitialized()) return;
  nb::gil_scoped_acquire gil;
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);  // a log call never disturbs a pending error
  try {
    nb::module_::import_("logging")
        .attr("getLogger")("talvoran")
        .attr("log")(static_cast<int>(level), nb::str(message.data(), message.size()));
  } catch (nb::python_error& e) {
    // A failing handler must not turn a log call into a failure of the operation being logged.
    e.discard_as_unraisable("talvoran logging bridge");
  }
  PyErr_Restore(type, value, traceback);
}

}  // namespace talvoran
