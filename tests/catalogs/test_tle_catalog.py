"""TLECatalog: reading real catalog files, entries and their keys, plot data."""

import math
import pathlib

import pytest

import talvoran
from talvoran.catalogs import TLECatalog
from talvoran.elements import TLE
from talvoran.saal import TLEInterface

DATA = pathlib.Path(__file__).resolve().parents[2] / "engine" / "tests" / "data"
ISS = ["ISS (ZARYA)",
       "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993",
       "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396"]
HST = ["0 HST",
       "1 20580U 90037B   20274.56301708  .00000536  00000-0  21212-4 0  9992",
       "2 20580  28.4699 299.5839 0002764 123.0716 304.1596 15.09373426455101"]


def write(tmp_path, lines, ending="\n", name="cat.tle"):
    path = tmp_path / name
    path.write_bytes(ending.join(lines).encode() + ending.encode())
    return str(path)


@pytest.mark.parametrize("ending", ["\n", "\r\n"])
def test_three_line_groups(tmp_path, loaded_before, ending):
    path = write(tmp_path, ISS + HST, ending)
    cat = TLECatalog.from_tle_file(path)
    assert cat.count == 2 and cat.name == path
    assert sorted(cat[k].name for k in cat.keys()) == ["HST", "ISS (ZARYA)"]
    del cat


def test_two_line_groups(tmp_path, loaded_before):
    cat = TLECatalog.from_tle_file(write(tmp_path, ISS[1:] + HST[1:]))
    assert cat.count == 2
    assert all(cat[k].name is None for k in cat.keys())
    del cat


@pytest.mark.parametrize("lines, message", [
    (ISS + HST[:2], "incomplete"),                    # the last group lacks a line
    (ISS[:1], "fewer than two lines"),
    ([ISS[0], "", ISS[2]], "second line is empty"),
    (["x", "y", "z"], "^Invalid TLE format$"),
])
def test_layout_errors_leave_nothing_loaded(tmp_path, loaded_before, lines, message):
    with pytest.raises(talvoran.InternalError, match=message):
        TLECatalog.from_tle_file(write(tmp_path, lines))


def test_files_that_cannot_be_opened(tmp_path):
    for path in (tmp_path / "missing.tle", tmp_path):
        with pytest.raises(talvoran.InternalError, match="^Unable to open file"):
            TLECatalog.from_tle_file(str(path))


def test_a_line_that_is_not_utf8_loses_nothing(tmp_path, loaded_before):
    # A name in Latin-1 used to end the reading there, silently dropping the rest of the file.
    path = tmp_path / "latin1.tle"
    path.write_bytes(b"SAT\xe9LLITE\n" + "\n".join(ISS[1:] + HST).encode() + b"\n")
    cat = TLECatalog.from_tle_file(str(path))
    assert cat.count == 2
    assert sorted(cat[k].name for k in cat.keys()) == ["HST", "SAT\ufffdLLITE"]
    del cat


@pytest.mark.parametrize("file, count", [
    ("catalog-20200930.tle", 3062),                   # CelesTrak, names padded, CRLF
    ("catalog-20220122-alpha5-excerpt.tle", 318),     # Space-Track 3LE with Alpha-5 numbers
])
def test_real_catalogs(loaded_before, file, count):
    cat = TLECatalog.from_tle_file(str(DATA / file))
    assert cat.count == count
    ids = {cat[k].norad_id for k in cat.keys()}
    assert len(ids) > count * 0.95
    if "alpha5" in file:
        # T0000 is 270000 under the Alpha-5 scheme (T = 27).
        assert any(n >= 270000 for n in ids)
    del cat


def test_entries_are_copies(loaded_before):
    tle = TLE.from_lines(*ISS)
    cat = TLECatalog()
    assert cat.name is None and cat.count == 0
    cat.add(tle)
    cat.add(tle)                       # same id: replaced, the first copy's key dropped
    assert cat.count == 1 and cat.keys() == [tle.id]
    assert TLEInterface.count_loaded() == loaded_before + 2
    got = cat.get(tle.id)
    assert got.id == tle.id and got is not tle
    assert cat.get("nope") is None
    with pytest.raises(KeyError) as info:
        cat["nope"]
    assert info.value.args == ("Invalid key: nope",)
    assert cat.remove("nope") is None
    cat.remove(tle.id)
    assert cat.count == 0
    cat.name = "mine"
    assert cat.name == "mine"
    with pytest.raises(TypeError, match="tle"):
        cat.add("not a TLE")
    del got, tle


def test_plot_data(tmp_path, loaded_before):
    cat = TLECatalog.from_tle_file(write(tmp_path, ISS))
    plot = cat.get_plot_data()
    assert plot.satellite_id == cat.name
    tle = cat[cat.keys()[0]]
    assert plot.epochs == [tle.epoch.to_iso()]
    assert plot.semi_major_axes == [tle.semi_major_axis]
    assert plot.apogee_radii == [tle.semi_major_axis * (1 + tle.eccentricity)]
    s = tle.cartesian_state.position
    assert plot.radii[0] == pytest.approx(math.sqrt(s.x**2 + s.y**2 + s.z**2), rel=1e-15)
    assert 400 < plot.altitudes[0] < 440 and abs(plot.latitudes[0]) <= 51.7
    assert plot.latitudes is not plot.latitudes
    unnamed = TLECatalog()
    empty = unnamed.get_plot_data()
    assert empty.satellite_id == "TLE Catalog" and empty.epochs == [] and empty.radii == []
    del cat, tle
