// InternalError: a broken invariant, or an engine call that is not expected to fail. It reaches
// Python as the module's internal-error exception (see binding/errors.hpp). Kept free of Python so
// that worker-thread code and C++ tests can use it.
#pragma once

#include <stdexcept>

namespace talvoran {

class InternalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace talvoran
