// The engine's last-error text of this thread, for code that does not touch Python.
#pragma once

#include <string>

namespace talvoran {

// At most 512 bytes, read up to the first NUL, not trimmed.
std::string engine_last_error();

}  // namespace talvoran
