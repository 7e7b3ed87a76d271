#include "binding/errors.hpp"

#include <nanobind/nanobind.h>

#include <cstring>

#include "engine/dllmain.h"

namespace nb = nanobind;

namespace talvoran {

nb::str engine_last_error_text() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  PyObject* text =
      PyUnicode_DecodeUTF8(buf, static_cast<Py_ssize_t>(strnlen(buf, ENGINE_TEXT_LEN)), "replace");
  if (text == nullptr) throw nb::python_error();
  return nb::steal<nb::str>(text);
}

PyObject* internal_error_type() {
  // The class is defined by the package (talvoran.InternalError) so that users and type checkers
  // see it there; it is fetched once and kept for the life of the process. Should the extension be
  // loaded without its package, an equivalent class is made here.
  static PyObject* type = [] {
    PyObject* mod = PyImport_ImportModule("talvoran._internal_error");
    if (mod != nullptr) {
      PyObject* t = PyObject_GetAttrString(mod, "InternalError");
      Py_DECREF(mod);
      if (t != nullptr) return t;
    }
    PyErr_Clear();
    PyObject* t = PyErr_NewException("talvoran.InternalError", PyExc_BaseException, nullptr);
    if (t == nullptr) throw nb::python_error();
    return t;
  }();
  return type;
}

void register_error_translators() {
  nb::register_exception_translator([](const std::exception_ptr& p, void*) {
    try {
      std::rethrow_exception(p);
    } catch (const InternalError& e) {
      PyErr_SetString(internal_error_type(), e.what());
    }
  });
}

void raise_engine_error(PyObject* type) {
  nb::str text = engine_last_error_text();
  PyErr_SetObject(type, text.ptr());
  throw nb::python_error();
}

}  // namespace talvoran
