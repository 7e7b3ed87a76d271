"""Writes the type stubs of talvoran._talvoran into python/talvoran/_talvoran/, or with --check
fails when the committed stubs differ from what the built extension gives.

nanobind's stub generator does the work per submodule. Two things of this module need help: its
submodules are registered under their short names (so the generator does not recurse into them),
and its classes report their module as "builtins" (so the generator takes them for imports). While
the stubs are generated each class reports the submodule that holds it, and references to sibling
submodules become relative imports.
"""

import argparse
import difflib
import pathlib
import re
import sys

from nanobind.stubgen import StubGen

import talvoran._talvoran as ext

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "python" / "talvoran" / "_talvoran"
SUBMODULES = ["saal", "astro_func_interface", "time_func_interface", "enums", "time", "elements",
              "propagation", "catalogs", "bodies", "events", "estimation", "exceptions"]


def generate() -> dict[pathlib.Path, str]:
    modules = [getattr(ext, sub) for sub in SUBMODULES]
    classes = [(cls, mod) for mod in modules for cls in vars(mod).values() if isinstance(cls, type)]
    for cls, mod in classes:
        cls.__module__ = mod.__name__
    try:
        files = {OUT / "__init__.pyi": stub_of(ext, root=True)}
        for mod, sub in zip(modules, SUBMODULES):
            files[OUT / f"{sub}.pyi"] = stub_of(mod)
    finally:
        for cls, _ in classes:
            cls.__module__ = "builtins"
    return files


def stub_of(module, root: bool = False) -> str:
    gen = StubGen(module, include_docstrings=True)
    gen.put(module)
    text = gen.get()
    # Sibling submodules are imported relative to the extension.
    names = "|".join(SUBMODULES)
    text = re.sub(rf"^import ({names})$", r"from . import \1", text, flags=re.M)
    if root:
        text = "".join(f"from . import {s} as {s}\n" for s in SUBMODULES) + "\n" + text
    return text.rstrip() + "\n"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()
    files = generate()
    if not args.check:
        OUT.mkdir(parents=True, exist_ok=True)
        for path, text in files.items():
            path.write_text(text)
        return 0
    stale = False
    for path, text in files.items():
        old = path.read_text() if path.exists() else ""
        if old != text:
            stale = True
            rel = path.relative_to(ROOT)
            sys.stdout.writelines(difflib.unified_diff(
                old.splitlines(True), text.splitlines(True), f"{rel} (committed)", f"{rel} (built)"))
    if stale:
        print("The committed stubs are out of date: run `make stubs` and commit the result.")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
