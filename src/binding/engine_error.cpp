#include "binding/engine_error.hpp"

#include <cstring>

#include "engine/dllmain.h"

namespace talvoran {

std::string engine_last_error() {
  char buf[ENGINE_TEXT_BUF] = {};
  GetLastErrMsg(buf);
  return std::string(buf, strnlen(buf, ENGINE_TEXT_LEN));
}

}  // namespace talvoran
