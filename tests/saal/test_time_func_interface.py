"""time_func_interface: the engine's time functions on raw day counts."""

import pathlib
import subprocess
import sys
import textwrap

import pytest

import talvoran
from talvoran import time_func_interface as tfi

EOP_FILE = pathlib.Path(__file__).resolve().parents[2] / "engine" / "data" / "EOP-All-v1.1_2025-01-10.txt"


def test_registration_order():
    names = [n for n in vars(tfi) if not n.startswith("__")]
    assert names == ["time_constants_loaded", "load_time_constants", "ds50_utc_to_ut1",
                     "get_fk4_greenwich_angle", "get_fk5_greenwich_angle",
                     "ymd_components_to_ds50"]


def test_loading_a_file_is_reported():
    code = f"""
        from talvoran import time_func_interface as tfi
        assert tfi.time_constants_loaded() is False
        assert tfi.load_time_constants({str(EOP_FILE)!r}) is None
        assert tfi.time_constants_loaded() is True
    """
    subprocess.run([sys.executable, "-c", textwrap.dedent(code)], check=True)


# name -> content (None: nothing is created; "/": a directory)
REFUSED = {
    "missing.txt": None,
    "a_directory": "/",
    "empty.txt": "",
    "garbled.txt": "this is not a timing-constants file\n",
}


@pytest.mark.parametrize("name", REFUSED)
def test_refused_files_raise_saal_error_naming_the_file(tmp_path, name):
    path = tmp_path / name
    if REFUSED[name] == "/":
        path.mkdir()
    elif REFUSED[name] is not None:
        path.write_text(REFUSED[name])
    with pytest.raises(talvoran.SAALError) as info:
        tfi.load_time_constants(str(path))
    assert str(path) in str(info.value)
    assert isinstance(info.value, Exception)


def test_a_nul_in_the_path_is_an_internal_error():
    with pytest.raises(talvoran.InternalError):
        tfi.load_time_constants("eop\x00.txt")


def test_path_objects_are_accepted(tmp_path):
    with pytest.raises(talvoran.SAALError):
        tfi.load_time_constants(tmp_path / "missing.txt")
    with pytest.raises(TypeError):
        tfi.load_time_constants(42)


def test_day_counts():
    assert tfi.ymd_components_to_ds50(1950, 1, 1, 0, 0, 0.0) == 1.0
    assert tfi.ymd_components_to_ds50(2000, 1, 1, 12, 0, 0.0) == 2451545.0 - 2433281.5
    with pytest.raises(OverflowError):
        tfi.ymd_components_to_ds50(2**31, 1, 1, 0, 0, 0.0)
    ds50 = tfi.ymd_components_to_ds50(2024, 3, 1, 0, 0, 0.0)
    assert abs((tfi.ds50_utc_to_ut1(ds50) - ds50) * 86400) < 0.9   # |UT1-UTC| < 0.9 s


def test_a_load_is_logged_through_python_logging():
    code = f"""
        import logging
        records = []
        class Keep(logging.Handler):
            def emit(self, record):
                records.append(record)
        logging.getLogger("talvoran").addHandler(Keep())
        logging.getLogger("talvoran").setLevel(logging.INFO)
        from talvoran import time_func_interface as tfi
        tfi.load_time_constants({str(EOP_FILE)!r})
        assert len(records) == 1, records
        assert records[0].levelno == logging.INFO
        assert records[0].getMessage().startswith("Loaded timing constants from ")
        assert "23202 days" in records[0].getMessage(), records[0].getMessage()
    """
    subprocess.run([sys.executable, "-c", textwrap.dedent(code)], check=True)
