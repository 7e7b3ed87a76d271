"""python -m talvoran: a short tour of the package on its bundled data."""

import sys

import talvoran
from talvoran import enums


def _tree(module, indent="  "):
    for name in dir(module):
        if name.startswith("_"):
            continue
        obj = getattr(module, name)
        kind = "class" if isinstance(obj, type) else type(obj).__name__
        print(f"{indent}{name:<28} {kind}")


def main() -> int:
    print(f"talvoran {talvoran.__version__} on Python {sys.version.split()[0]}")
    print(f"worker pool: {talvoran.get_thread_count()} threads")
    print(f"engine key mode: {talvoran.saal.MainInterface.get_key_mode()!r}")
    print()
    print("Module tree:")
    for name in ("saal", "astro_func_interface", "time_func_interface", "enums", "time",
                 "elements", "propagation", "catalogs", "bodies", "events", "estimation",
                 "exceptions"):
        module = getattr(talvoran._talvoran, name)
        print(f" {name}")
        _tree(module)
    print()
    print("Time systems:", ", ".join(repr(getattr(enums.TimeSystem, m))
                                     for m in ("UTC", "TAI", "UT1", "TT")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
