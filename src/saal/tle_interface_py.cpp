// Python class TLEInterface: the engine's TLE library and the layout of its arrays.
#include <nanobind/nanobind.h>
#include <nanobind/stl/array.h>
#include <nanobind/stl/pair.h>
#include <nanobind/stl/string.h>

#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "saal/tle_interface.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

template <class T>
T value_or_runtime_error(std::expected<T, std::string> r) {
  if (!r) throw std::runtime_error(r.error());
  return *std::move(r);
}

// The engine's text decoded as UTF-8 with invalid bytes replaced, as every engine text is.
nb::str decoded(const std::string& s) {
  PyObject* o = PyUnicode_DecodeUTF8(s.data(), static_cast<Py_ssize_t>(s.size()), "replace");
  if (o == nullptr) throw nb::python_error();
  return nb::steal<nb::str>(o);
}

struct TLEInterface {};

// Class constants: (name, value), in the order they are published.
constexpr std::pair<const char*, int> kConstants[] = {
    {"XA_TLE_SATNUM", 0},        {"XA_TLE_EPOCH", 1},        {"XA_TLE_NDOT", 2},
    {"XA_TLE_SP_BTERM", 2},      {"XA_TLE_NDOTDOT", 3},      {"XA_TLE_SP_OGPARM", 3},
    {"XA_TLE_BSTAR", 4},         {"XA_TLE_SP_AGOM", 4},      {"XA_TLE_EPHTYPE", 5},
    {"XA_TLE_INCLI", 20},        {"XA_TLE_NODE", 21},        {"XA_TLE_ECCEN", 22},
    {"XA_TLE_OMEGA", 23},        {"XA_TLE_MNANOM", 24},      {"XA_TLE_MNMOTN", 25},
    {"XA_TLE_REVNUM", 26},       {"XA_TLE_ELSETNUM", 30},    {"XA_TLE_ORGSATNUM", 31},
    {"XA_TLE_BTERM", 32},        {"XA_TLE_OBSTIME", 33},     {"XA_TLE_EGR", 34},
    {"XA_TLE_EDR", 35},          {"XA_TLE_VISMAG", 36},      {"XA_TLE_RCS", 37},
    {"XA_TLE_AGOMGP", 38},       {"XA_TLE_SIZE", 64},        {"XS_TLE_SECCLASS_0_1", 0},
    {"XS_TLE_SECCLASS_1", 0},    {"XS_TLE_SATNAME_1_12", 1}, {"XS_TLE_SATNAME_12", 1},
    {"XS_TLE_OBJTYPE_13_1", 13}, {"XS_TLE_OBJTYPE_11", 13},  {"XS_TLE_SIZE", 512},
    {"XS_TLE_LENGTH", 512},      {"TLETYPE_SGP", 0},         {"TLETYPE_SGP4", 2},
    {"TLETYPE_XP", 4},           {"TLETYPE_SP", 6},          {"XF_TLE_SATNUM", 1},
    {"XF_TLE_CLASS", 2},         {"XF_TLE_SATNAME", 3},      {"XF_TLE_EPOCH", 4},
    {"XF_TLE_BSTAR", 5},         {"XF_TLE_SP_AGOM", 5},      {"XF_TLE_EPHTYPE", 6},
    {"XF_TLE_ELSETNUM", 7},      {"XF_TLE_INCLI", 8},        {"XF_TLE_NODE", 9},
    {"XF_TLE_ECCEN", 10},        {"XF_TLE_OMEGA", 11},       {"XF_TLE_MNANOM", 12},
    {"XF_TLE_MNMOTN", 13},       {"XF_TLE_REVNUM", 14},      {"XF_TLE_NDOT", 15},
    {"XF_TLE_SP_BTERM", 15},     {"XF_TLE_NDOTDOT", 16},     {"XF_TLE_AGOMGP", 16},
    {"XF_TLE_SP_OGPARM", 16},    {"XF_TLE_ORGSATNUM", 17},   {"XF_TLE_BTERM", 18},
    {"XF_TLE_OBSTIME", 19},      {"XF_TLE_EGR", 20},         {"XF_TLE_EDR", 21},
    {"XF_TLE_VISMAG", 22},       {"XF_TLE_RCS", 23},         {"XF_TLE_OBJTYPE", 24},
    {"XF_TLE_SATNAME_12", 25},   {"XF_TLEFORM_ORG", 0},      {"XF_TLEFORM_CSV", 1},
};
static_assert(std::size(kConstants) == 69);

}  // namespace

void bind_tle_interface(nb::module_& m) {
  using namespace tle_interface;
  nb::class_<TLEInterface> cls(m, "TLEInterface", nb::type_slots(binding::no_constructor_slots()),
                               "The engine's two-line element set library.");
  cls.def_static(
      "lines_to_arrays",
      [](const std::string& line_1, const std::string& line_2) {
        auto [xa, xs] = value_or_runtime_error(lines_to_arrays(line_1, line_2));
        return nb::make_tuple(xa, decoded(xs));
      },
      nb::arg("line_1"), nb::arg("line_2"),
      nb::sig("def lines_to_arrays(line_1: str, line_2: str) -> tuple[list[float], str]"));
  cls.def_static(
      "arrays_to_lines",
      [](const XaTle& xa_tle, const std::string& xs_tle) {
        auto [l1, l2] = value_or_runtime_error(arrays_to_lines(xa_tle, xs_tle));
        return nb::make_tuple(decoded(l1), decoded(l2));
      },
      nb::arg("xa_tle"), nb::arg("xs_tle"),
      nb::sig("def arrays_to_lines(xa_tle: Sequence[float], xs_tle: str) -> tuple[str, str]"));
  cls.def_static(
      "load_from_arrays",
      [](const XaTle& xa_tle, const std::string& xs_tle) {
        return value_or_runtime_error(load_from_arrays(xa_tle, xs_tle));
      },
      nb::arg("xa_tle"), nb::arg("xs_tle"));
  cls.def_static(
      "get_check_sums",
      [](const std::string& line_1, const std::string& line_2) {
        return value_or_runtime_error(get_check_sums(line_1, line_2));
      },
      nb::arg("line_1"), nb::arg("line_2"));
  cls.def_static("remove_key", &remove_key, nb::arg("sat_key"));
  cls.def_static("remove_all", [] {
    if (auto r = remove_all(); !r) throw std::runtime_error(r.error());
  });
  cls.def_static("count_loaded", &count_loaded, "Number of element sets in the engine's memory.");
  for (const auto& [name, value] : kConstants) cls.attr(name) = value;
  binding::set_builtins_module(cls);
}

}  // namespace talvoran
