#include "binding/registration.hpp"

#include <string>

namespace talvoran::binding {

namespace {

int refuse_construction(PyObject* self, PyObject*, PyObject*) {
  nb::object name = nb::handle(reinterpret_cast<PyObject*>(Py_TYPE(self))).attr("__name__");
  PyErr_Format(PyExc_TypeError, "No constructor defined for %U", name.ptr());
  return -1;
}

// Lets the garbage collector see the reference every instance holds to its class. Classes whose
// members are instances stored as class attributes (the enumerations) form a cycle that is then
// collected at shutdown instead of being leaked.
int visit_type(PyObject* self, visitproc visit, void* arg) {
  Py_VISIT(Py_TYPE(self));
  return 0;
}

const PyType_Slot kNoConstructorSlots[] = {
    {Py_tp_init, reinterpret_cast<void*>(refuse_construction)},
    {Py_tp_traverse, reinterpret_cast<void*>(visit_type)},
    {0, nullptr},
};

}  // namespace

const PyType_Slot* no_constructor_slots() { return kNoConstructorSlots; }

void set_builtins_module(nb::handle cls) { nb::setattr(cls, "__module__", nb::str("builtins")); }

nb::module_ new_submodule(const char* short_name) {
  PyObject* m = PyModule_New(short_name);
  if (m == nullptr) throw nb::python_error();
  return nb::steal<nb::module_>(m);
}

void register_submodule(nb::module_& root, nb::module_& sub, const char* short_name,
                        const char* sys_name) {
  const std::string statement =
      std::string("import sys; sys.modules['") + sys_name + "'] = " + short_name;
  nb::dict ns;
  ns["__builtins__"] = nb::module_::import_("builtins");
  ns[short_name] = sub;
  PyObject* result = PyRun_String(statement.c_str(), Py_file_input, ns.ptr(), ns.ptr());
  if (result == nullptr) {
    PyErr_Print();
    PyObject* flushed =
        PyRun_String("import sys; sys.stderr.flush()", Py_file_input, ns.ptr(), ns.ptr());
    Py_XDECREF(flushed);
    PyErr_Clear();
    throw nb::import_error(("could not register submodule " + std::string(sys_name)).c_str());
  }
  Py_DECREF(result);
  root.attr(short_name) = sub;
}

}  // namespace talvoran::binding
