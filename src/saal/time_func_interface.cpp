// time_func_interface: the engine's time functions on raw day counts since 1950, unchecked.
#include <nanobind/nanobind.h>
#include <nanobind/stl/string.h>

#include <string>

#include "binding/args.hpp"
#include "binding/errors.hpp"
#include "binding/modules.hpp"
#include "engine/timefunc.h"
#include "exceptions/saal_error.hpp"

namespace nb = nanobind;

namespace talvoran {

namespace {

void load_time_constants(const nb::object& path) {
  // str or any os.PathLike giving str.
  nb::object fs = nb::module_::import_("os").attr("fspath")(path);
  if (!nb::isinstance<nb::str>(fs)) throw nb::type_error("path must be a str or os.PathLike[str]");
  const std::string text = nb::cast<std::string>(fs);
  if (text.find('\0') != std::string::npos) {
    throw InternalError("Timing-constants path contains a NUL character");
  }
  if (TConLoadFile(text.c_str()) != 0) raise_engine_error(saal_error_type());
}

}  // namespace

void fill_time_func_interface(nb::module_& m) {
  m.def(
      "time_constants_loaded", [] { return IsTConFileLoaded() != 0; },
      "Whether a timing-constants file has been loaded explicitly.");
  m.def("load_time_constants", &load_time_constants, nb::arg("path"),
        nb::sig("def load_time_constants(path: str | os.PathLike[str]) -> None"),
        "Loads a timing-constants file (CelesTrak EOP-All or IERS finals2000A): leap seconds, "
        "UT1-UTC and polar motion. Raises SAALError when the engine refuses the file.");
  m.def("ds50_utc_to_ut1", &UTCToUT1, nb::arg("ds50_utc"), "UT1 day count of a UTC day count.");
  m.def("get_fk4_greenwich_angle", &ThetaGrnwchFK4, nb::arg("ds50_ut1"),
        "Greenwich angle (radians) of the FK4 era, as SGP4 uses it.");
  m.def("get_fk5_greenwich_angle", &ThetaGrnwchFK5, nb::arg("ds50_ut1"),
        "Greenwich mean sidereal time IAU 1982 (radians).");
  m.def(
      "ymd_components_to_ds50",
      [](const nb::int_& year, const nb::int_& month, const nb::int_& day, const nb::int_& hour,
         const nb::int_& minute, double second) {
        return TimeComps2ToUTC(binding::int32_arg(year, "year"), binding::int32_arg(month, "month"),
                               binding::int32_arg(day, "day"), binding::int32_arg(hour, "hour"),
                               binding::int32_arg(minute, "minute"), second);
      },
      nb::arg("year"), nb::arg("month"), nb::arg("day"), nb::arg("hour"), nb::arg("minute"),
      nb::arg("second"), "UTC day count since 1950 of calendar components.");
}

}  // namespace talvoran
