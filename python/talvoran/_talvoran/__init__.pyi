from . import saal as saal
from . import astro_func_interface as astro_func_interface
from . import time_func_interface as time_func_interface
from . import enums as enums
from . import time as time
from . import elements as elements
from . import propagation as propagation
from . import catalogs as catalogs
from . import bodies as bodies
from . import events as events
from . import estimation as estimation
from . import exceptions as exceptions

def get_thread_count() -> int:
    """
    The number of threads of the process-wide worker pool, starting the pool at its default size (one thread per core) if it does not exist yet.
    """

def set_thread_count(count: int) -> None:
    """
    Builds the process-wide worker pool with `count` threads (0: one per core) and waits until they have started. The pool's size cannot change once it exists.
    """

def set_jpl_ephemeris_file_path(jpl_path: str) -> None:
    """
    Uses the JPL ephemeris file (SPK .bsp) at `jpl_path` for Sun and Moon positions from 1960 to 2050. Without one, analytic series serve.
    """
