"""TLE: reading, writing, force terms, keys."""

import pathlib
import uuid

import pytest
import sgp4.api

import talvoran
from talvoran.elements import TLE
from talvoran.enums import Classification, KeplerianType, ReferenceFrame, TimeSystem
from talvoran.saal import TLEInterface

DATA = pathlib.Path(__file__).resolve().parents[2] / "engine" / "tests" / "data"
# Vallado et al. 2006, case 00005 (type 0: Kozai mean motion).
L1 = "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753"
L2 = "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667"
# The ISS in CelesTrak's "active" group of 2020-09-30 (engine/tests/data/catalog-20200930.tle).
ISS1 = "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993"
ISS2 = "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396"


def test_fields_of_a_published_set():
    t = TLE.from_lines(L1, L2)
    assert uuid.UUID(t.id).version == 4 and t.id == t.id.lower()
    assert t.name is None and t.designator == "58002B" and t.norad_id == 5
    assert t.classification == Classification.Unclassified
    assert t.type == KeplerianType.MeanKozaiGP
    assert t.epoch.time_system == TimeSystem.UTC
    assert t.epoch.to_iso() == "2000-06-27T18:50:19.734"
    assert (t.eccentricity, t.inclination, t.raan, t.argument_of_perigee, t.mean_anomaly) == (
        0.1859667, 34.2682, 348.7242, 331.7664, 19.3264)
    # The Kozai mean motion comes back; the axis is that of the Brouwer mean motion, as SGP4
    # recovers it (python-sgp4's `a`, in Earth radii of WGS-72).
    assert t.mean_motion == pytest.approx(10.82419157, rel=1e-14)
    sat = sgp4.api.Satrec.twoline2rv(L1, L2, sgp4.api.WGS72)
    assert t.semi_major_axis == pytest.approx(sat.a * 6378.135, rel=1e-13)
    assert t.b_star == pytest.approx(2.8098e-5, rel=1e-15)
    assert t.b_term == pytest.approx(2.8098e-5 * 12.741621, rel=1e-15)
    assert t.agom == 0.0
    assert t.mean_motion_dot == pytest.approx(0.00000023) and t.mean_motion_dot_dot == 0.0
    assert t.cartesian_state.get_frame() == ReferenceFrame.TEME


def test_lines_round_trip_through_python_sgp4():
    t = TLE.from_lines(ISS1, ISS2)
    l1, l2 = t.lines
    assert len(l1) == len(l2) == 69
    # The element-set and revolution numbers are not kept; every element is.
    assert l1[:63] == ISS1[:63] and l2[:63] == ISS2[:63]
    for line in (l1, l2):
        digits = sum(int(c) if c.isdigit() else (1 if c == "-" else 0) for c in line[:68])
        assert int(line[68]) == digits % 10
    a, b = sgp4.api.Satrec.twoline2rv(ISS1, ISS2), sgp4.api.Satrec.twoline2rv(l1, l2)
    for field in ("jdsatepoch", "jdsatepochF", "ecco", "inclo", "nodeo", "argpo", "mo", "no_kozai",
                  "bstar", "ndot"):
        assert getattr(b, field) == pytest.approx(getattr(a, field), rel=1e-12, abs=1e-15), field


@pytest.mark.parametrize("name_line, name", [
    ("0 ISS (ZARYA)   ", "ISS (ZARYA)"),
    ("ISS (ZARYA)", "ISS (ZARYA)"),
    ("    ", ""),
    ("0 ", ""),
    ("0", "0"),
])
def test_name_lines(name_line, name):
    assert TLE.from_lines(name_line, ISS1, ISS2).name == name


@pytest.mark.parametrize("l1, l2, message", [
    (L1.replace("0  4753", "6  4753"), L2, "^Invalid KeplerianType value$"),
    (L1.replace("00005U", "00005X"), L2, "classification"),
    ("1 00005U garbage", L2, "."),
])
def test_bad_lines_are_internal_errors(l1, l2, message):
    with pytest.raises(talvoran.InternalError, match=message):
        TLE.from_lines(l1, l2)


def test_wrong_argument_types_name_the_argument():
    with pytest.raises(TypeError, match="line_2"):
        TLE.from_lines(L1, 2)
    with pytest.raises(TypeError, match="No constructor defined for TLE"):
        TLE()


def test_keys_are_released():
    start = TLEInterface.count_loaded()
    sets = [TLE.from_lines(L1, L2) for _ in range(2000)]
    assert TLEInterface.count_loaded() == start + 2000
    del sets
    assert TLEInterface.count_loaded() == start


def test_catalog_lines_read_and_written_back():
    lines = (DATA / "catalog-20200930.tle").read_text().splitlines()
    count = 0
    for name, l1, l2 in zip(lines[0::3], lines[1::3], lines[2::3]):
        t = TLE.from_lines(name, l1, l2)
        w1, w2 = t.lines
        ref = sgp4.api.Satrec.twoline2rv(l1, l2)
        got = sgp4.api.Satrec.twoline2rv(w1, w2)
        assert got.satnum == ref.satnum
        for field in ("ecco", "inclo", "nodeo", "argpo", "mo", "no_kozai", "bstar"):
            assert getattr(got, field) == pytest.approx(getattr(ref, field), rel=1e-12, abs=1e-15)
        count += 1
    assert count > 3000
