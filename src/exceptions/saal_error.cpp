#include "exceptions/saal_error.hpp"

#include <nanobind/nanobind.h>

#include "binding/modules.hpp"

namespace talvoran {

PyObject* saal_error_type() {
  // Created once, on first use, and kept for the life of the process.
  static PyObject* type = [] {
    PyObject* t = PyErr_NewException("talvoran.exceptions.SAALError", PyExc_Exception, nullptr);
    if (t == nullptr) throw nanobind::python_error();
    return t;
  }();
  return type;
}

void fill_exceptions(nanobind::module_& m) {
  m.attr("SAALError") = nanobind::handle(saal_error_type());
}

}  // namespace talvoran
