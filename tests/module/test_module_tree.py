"""The extension's module tree: root functions, submodules and their sys.modules names."""

import importlib
import subprocess
import sys

import pytest

import talvoran
from talvoran import _talvoran

SUBMODULES = [
    ("saal", "talvoran._talvoran.saal"),
    ("astro_func_interface", "talvoran._talvoran.saal.astro_func_interface"),
    ("time_func_interface", "talvoran._talvoran.saal.time_func_interface"),
    ("enums", "talvoran._talvoran.enums"),
    ("time", "talvoran._talvoran.time"),
    ("elements", "talvoran._talvoran.elements"),
    ("propagation", "talvoran._talvoran.propagation"),
    ("catalogs", "talvoran._talvoran.catalogs"),
    ("bodies", "talvoran._talvoran.bodies"),
    ("events", "talvoran._talvoran.events"),
    ("estimation", "talvoran._talvoran.estimation"),
    ("exceptions", "talvoran._talvoran.exceptions"),
]


@pytest.mark.parametrize("short_name, sys_name", SUBMODULES)
def test_submodule_is_registered_under_its_dotted_name(short_name, sys_name):
    sub = getattr(_talvoran, short_name)
    assert sys.modules[sys_name] is sub
    assert importlib.import_module(sys_name) is sub
    assert sub.__name__ == short_name


def test_submodules_are_registered_in_order():
    attrs = [name for name in vars(_talvoran) if not name.startswith("__")]
    modules = [name for name in attrs if name in dict(SUBMODULES)]
    assert modules == [short for short, _ in SUBMODULES]
    # The root functions come before the submodules.
    assert attrs.index("set_thread_count") < attrs.index("saal")


def test_function_modules_are_not_attributes_of_saal():
    assert not hasattr(_talvoran.saal, "time_func_interface")
    assert not hasattr(_talvoran.saal, "astro_func_interface")
    # ...yet the dotted import statement finds them through sys.modules.
    code = ("import talvoran\n"
            "import talvoran._talvoran.saal.time_func_interface\n"
            "import sys\n"
            "assert sys.modules['talvoran._talvoran.saal.time_func_interface'] is "
            "talvoran._talvoran.time_func_interface\n")
    subprocess.run([sys.executable, "-c", code], check=True)


def test_package_reexports_the_submodules():
    for short_name, _ in SUBMODULES:
        assert getattr(talvoran, short_name) is getattr(_talvoran, short_name)
    assert talvoran.SAALError is _talvoran.exceptions.SAALError
    assert talvoran.get_thread_count is _talvoran.get_thread_count


@pytest.mark.parametrize("module, cls", [
    ("saal", "MainInterface"),
    ("enums", "TimeSystem"),
    ("enums", "SAALKeyMode"),
])
def test_classes_report_builtins_as_their_module(module, cls):
    klass = getattr(getattr(_talvoran, module), cls)
    assert klass.__module__ == "builtins"
    assert klass.__qualname__ == cls


def test_import_prints_nothing():
    out = subprocess.run([sys.executable, "-c", "import talvoran"], capture_output=True,
                         text=True, check=True)
    assert out.stdout == "" and out.stderr == ""


def test_demo_runs():
    out = subprocess.run([sys.executable, "-m", "talvoran"], capture_output=True, text=True,
                         check=True)
    assert "Ephemerides: one day at 60 s" in out.stdout and "Time scales" in out.stdout
