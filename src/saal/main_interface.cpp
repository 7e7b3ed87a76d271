// MainInterface: the engine's last-error text and key mode, straight through.
#include <nanobind/nanobind.h>

#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "engine/dllmain.h"
#include "enums/enum_binding.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

struct MainInterface {};

SAALKeyMode key_mode() {
  switch (GetAllKeyMode()) {
    case KEYMODE_NODUP:
      return SAALKeyMode::NoDuplicates;
    case KEYMODE_DMA:
      return SAALKeyMode::DirectMemoryAccess;
    default:
      throw std::runtime_error("Unknown key mode");
  }
}

void set_key_mode(SAALKeyMode mode) {
  if (SetAllKeyMode(static_cast<int>(mode)) != 0) raise_engine_error(PyExc_RuntimeError);
}

}  // namespace

void fill_main_interface(nb::module_& m) {
  nb::class_<MainInterface> cls(m, "MainInterface",
                                nb::type_slots(binding::no_constructor_slots()));
  cls.def_static("get_last_error_message", &engine_last_error_text,
                 "The engine's last error message on this thread, unchanged.");
  cls.def_static("get_key_mode", &key_mode, "The key mode in force in the engine.");
  cls.def_static("set_key_mode", &set_key_mode, nb::arg("key_mode"),
                 "Sets the key mode of every engine memory library.");
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
