// Python class TLECatalog.
#include <nanobind/nanobind.h>
#include <nanobind/stl/optional.h>
#include <nanobind/stl/string.h>
#include <nanobind/stl/vector.h>

#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "binding/registration.hpp"
#include "catalogs/tle_catalog.hpp"

namespace nb = nanobind;

namespace talvoran {

void bind_tle_catalog(nb::module_& m) {
  nb::class_<TLECatalog> cls(m, "TLECatalog",
                             "Element sets keyed by TLE id; each is the catalog's own copy.");
  cls.def(nb::init<>());
  cls.def_static(
      "from_tle_file",
      [](const std::string& file_path) {
        auto catalog = TLECatalog::from_tle_file(file_path);
        if (!catalog) {
          const TleReadError& e = catalog.error();
          if (e.kind == TleReadError::Kind::Load) throw nb::value_error(e.message.c_str());
          throw InternalError(e.message);
        }
        return *std::move(catalog);
      },
      nb::arg("file_path"),
      "Reads a file of two-line or three-line element sets (name line first).");
  binding::def_prop_rw(
      cls, "name", [](const TLECatalog& c) { return c.name; },
      [](TLECatalog& c, std::optional<std::string> name) { c.name = std::move(name); });
  cls.def_prop_ro("count", &TLECatalog::count);
  cls.def("keys", &TLECatalog::keys);
  cls.def(
      "add", [](TLECatalog& c, const TLE& tle) { c.add(TLE(tle)); }, nb::arg("tle"),
      "Stores a copy of `tle` under its id, replacing any entry there.");
  cls.def(
      "get",
      [](const TLECatalog& c, const std::string& satellite_id) -> std::optional<TLE> {
        if (const TLE* t = c.find(satellite_id)) return TLE(*t);
        return std::nullopt;
      },
      nb::arg("satellite_id"), "A copy of the element set stored under `satellite_id`, or None.");
  cls.def(
      "__getitem__",
      [](const TLECatalog& c, const std::string& satellite_id) {
        if (const TLE* t = c.find(satellite_id)) return TLE(*t);
        throw nb::key_error(("Invalid key: " + satellite_id).c_str());
      },
      nb::arg("satellite_id"));
  cls.def("remove", &TLECatalog::remove, nb::arg("satellite_id"));
  cls.def("clear", &TLECatalog::clear);
  cls.def("get_plot_data", &TLECatalog::plot_data,
          "One point per element set at its own epoch, from its stored elements.");
  binding::set_builtins_module(cls);
}

void fill_catalogs(nb::module_& m) { bind_tle_catalog(m); }

}  // namespace talvoran
