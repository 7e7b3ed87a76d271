// Error conventions at the Python boundary.
//
// - InternalError: a broken invariant or an engine call that is not expected to fail. It reaches
//   Python as the module's internal-error exception, a BaseException subclass, so that ordinary
//   `except Exception` handlers do not swallow it.
// - Engine failures: the engine's last-error text, unchanged, raised as the class the call site
//   needs (raise_engine_error).
#pragma once

#include <nanobind/nanobind.h>

#include <string>

#include "binding/engine_error.hpp"
#include "binding/internal_error.hpp"

namespace talvoran {

// The same text as a Python str, decoded as UTF-8 with invalid bytes replaced by U+FFFD.
nanobind::str engine_last_error_text();

// The internal-error exception class (created on first use).
PyObject* internal_error_type();

// Registers the translation of InternalError into the internal-error exception.
void register_error_translators();

// Raises `type` with the engine's last-error text as its only argument, decoded as UTF-8 with
// invalid bytes replaced by U+FFFD. Never returns.
[[noreturn]] void raise_engine_error(PyObject* type);

}  // namespace talvoran
