// How classes and submodules are registered, shared by every binding file.
#pragma once

#include <nanobind/nanobind.h>

#include <string>
#include <utility>

namespace talvoran::binding {

namespace nb = nanobind;

// Type slots for a class Python may not instantiate: calling it raises
// TypeError("No constructor defined for <name>"). Pass as nb::type_slots(no_constructor_slots()).
const PyType_Slot* no_constructor_slots();

// Every class reports its module as "builtins", as the module's classes always have.
void set_builtins_module(nb::handle cls);

// Instances of the class cannot be dictionary keys or set members.
inline void make_unhashable(nb::handle cls) { nb::setattr(cls, "__hash__", nb::none()); }

// A read-write property whose deletion raises AttributeError("can't delete attribute").
template <class Class, class Getter, class Setter>
void def_prop_rw(Class& cls, const char* name, Getter&& getter, Setter&& setter,
                 const char* doc = nullptr) {
  nb::object fget = nb::cpp_function(std::forward<Getter>(getter), nb::is_method());
  nb::object fset = nb::cpp_function(std::forward<Setter>(setter), nb::is_method());
  nb::object fdel = nb::cpp_function(
      [](nb::handle) { throw nb::attribute_error("can't delete attribute"); }, nb::is_method());
  nb::object prop =
      nb::module_::import_("builtins")
          .attr("property")(fget, fset, fdel, doc ? nb::object(nb::str(doc)) : nb::none());
  nb::setattr(cls, name, prop);
}

// A write-only property (reading it raises AttributeError); deletion as for def_prop_rw.
template <class Class, class Setter>
void def_prop_wo(Class& cls, const char* name, Setter&& setter, const char* doc = nullptr) {
  nb::object fset = nb::cpp_function(std::forward<Setter>(setter), nb::is_method());
  nb::object fdel = nb::cpp_function(
      [](nb::handle) { throw nb::attribute_error("can't delete attribute"); }, nb::is_method());
  nb::object prop =
      nb::module_::import_("builtins")
          .attr("property")(nb::none(), fset, fdel, doc ? nb::object(nb::str(doc)) : nb::none());
  nb::setattr(cls, name, prop);
}

// A new, empty submodule named `short_name`, to be filled and then registered.
nb::module_ new_submodule(const char* short_name);

// Enters `sub` in sys.modules under `sys_name` and adds it to `root` as `short_name`. When the
// sys.modules statement fails, the Python error is printed and standard error flushed before the
// failure propagates (and the import of the extension fails).
void register_submodule(nb::module_& root, nb::module_& sub, const char* short_name,
                        const char* sys_name);

}  // namespace talvoran::binding
