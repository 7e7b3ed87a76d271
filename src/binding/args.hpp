// Argument conversions the default casters do not give.
#pragma once

#include <nanobind/nanobind.h>

#include <cstdint>
#include <string>

namespace talvoran::binding {

// A Python int as a signed 32-bit integer; out of range is an OverflowError naming `name`.
inline std::int32_t int32_arg(const nanobind::int_& value, const char* name) {
  int overflow = 0;
  const long long v = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (v == -1 && PyErr_Occurred()) throw nanobind::python_error();
  if (overflow != 0 || v < INT32_MIN || v > INT32_MAX) {
    PyErr_Format(PyExc_OverflowError, "%s must be a signed 32-bit integer, got %S", name,
                 value.ptr());
    throw nanobind::python_error();
  }
  return static_cast<std::int32_t>(v);
}

}  // namespace talvoran::binding
