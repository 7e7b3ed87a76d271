// SAALError: raised when the engine refuses the timing-constants file, and by the observatory's
// topocentric view of a satellite. A plain Exception subclass named
// "talvoran.exceptions.SAALError".
#pragma once

#include <Python.h>

namespace talvoran {

PyObject* saal_error_type();

}  // namespace talvoran
