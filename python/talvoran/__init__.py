"""talvoran: space-surveillance astrodynamics with a C++ core.

Instants in UTC, TAI, UT1 and TT; two-line element sets; SGP4 propagation; ephemerides;
close-approach screening; visibility windows; field-of-view reports; and batch least-squares orbit
determination. The object model lives in the compiled extension ``talvoran._talvoran``; its
submodules are re-exported here.
"""

import sys as _sys

from ._internal_error import InternalError
from . import _talvoran
from ._talvoran import (
    astro_func_interface,
    bodies,
    catalogs,
    elements,
    enums,
    estimation,
    events,
    exceptions,
    get_thread_count,
    propagation,
    saal,
    set_jpl_ephemeris_file_path,
    set_thread_count,
    time,
    time_func_interface,
)
from ._talvoran.exceptions import SAALError

# The submodules can also be imported by their short dotted names: `from talvoran.time import Epoch`.
for _name in ("saal", "astro_func_interface", "time_func_interface", "enums", "time", "elements",
              "propagation", "catalogs", "bodies", "events", "estimation", "exceptions"):
    _sys.modules.setdefault(f"{__name__}.{_name}", getattr(_talvoran, _name))
del _name

__version__ = "0.1.0"

__all__ = [
    "InternalError",
    "SAALError",
    "astro_func_interface",
    "bodies",
    "catalogs",
    "elements",
    "enums",
    "estimation",
    "events",
    "exceptions",
    "get_thread_count",
    "propagation",
    "saal",
    "set_jpl_ephemeris_file_path",
    "set_thread_count",
    "time",
    "time_func_interface",
]
