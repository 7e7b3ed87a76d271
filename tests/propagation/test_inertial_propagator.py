"""InertialPropagator: the SGP4 verification set of Vallado et al. (2006) through the module,
python-sgp4 on a real catalog, failures as None, and key ownership."""

import math
import pathlib

import pytest
import sgp4.api

from talvoran.elements import TLE
from talvoran.enums import KeplerianType, ReferenceFrame, TimeSystem
from talvoran.propagation import InertialPropagator
from talvoran.saal import TLEInterface
from talvoran.time import Epoch, TimeSpan

DATA = pathlib.Path(__file__).resolve().parents[2] / "engine" / "tests" / "data"


# Where the published run stops with an SGP4 error: satellite -> first failing minute (codes as
# python-sgp4 2.27 gives them at the same times).
FAILS_FROM = {22312: 494.2028672, 28350: 1560.0, 28872: 55.0, 29141: 440.0, 33333: 25.0,
              33334: 0.0}


def verification_cases():
    """(line 1, line 2, [(minutes, r, v)]) for every object of the set, in file order."""
    tle_lines = [l for l in (DATA / "sgp4-ver.tle").read_text().splitlines()
                 if l.startswith(("1 ", "2 "))]
    sections = []
    for line in (DATA / "sgp4-ver-expected.out").read_text().splitlines():
        parts = line.split()
        if len(parts) == 2 and parts[1] == "xx":
            sections.append([])
        elif parts and sections:
            values = [float(p) for p in parts[:7]]
            sections[-1].append((values[0], values[1:4], values[4:7]))
    assert len(sections) == len(tle_lines) // 2
    for l1, l2, rows in zip(tle_lines[0::2], tle_lines[1::2], sections):
        start, stop = (float(x) for x in l2[69:].split()[:2])
        # The run also printed a few rows outside a case's own span (its epoch, a stray row at
        # the end of the file): only the span is compared.
        rows = [row for row in rows if min(start, stop) - 1e-6 <= row[0] <= max(start, stop) + 1e-6]
        yield pytest.param(l1, l2[:69], rows, id=f"{l1[2:7]}-{start:g}")


@pytest.mark.parametrize("l1, l2, rows", list(verification_cases()))
def test_verification_set(l1, l2, rows):
    t = TLE.from_lines(l1, l2)
    p = InertialPropagator.from_tle(t)
    fails_from = FAILS_FROM.get(t.norad_id, math.inf)
    # 1 cm and 1e-8 km/s: the epoch is a day count since 1950, whose last bit is 0.3 us, 2-3 mm of
    # LEO motion; the published vectors are printed to 10 micrometres. Satellite 33333 (e = 0.995,
    # collapsing within 25 min) ends its Kepler iteration unconverged at the theory's 10 steps, so
    # its state moves by 0.14 m with the last bits of the time: 1 m and 1e-5 km/s there.
    tol_r, tol_v = (1e-3, 1e-5) if t.norad_id == 33333 else (1e-5, 1e-8)
    for minutes, r, v in rows:
        state = p.get_cartesian_state_at_epoch(t.epoch + TimeSpan.from_minutes(minutes))
        if minutes >= fails_from - 1e-6:
            assert state is None, minutes
            continue
        assert state is not None, minutes
        got, w = state.position, state.velocity
        assert math.dist((got.x, got.y, got.z), r) < tol_r, minutes
        assert math.dist((w.x, w.y, w.z), v) < tol_v, minutes


def test_the_sets_decay_is_none_not_an_exception():
    # Case 33334 decays near 1440 minutes (SGP4 error 6 in the published run).
    line = next(l for l in (DATA / "sgp4-ver.tle").read_text().splitlines() if l.startswith("1 33334"))
    l2 = next(l for l in (DATA / "sgp4-ver.tle").read_text().splitlines() if l.startswith("2 33334"))
    t = TLE.from_lines(line, l2[:69])
    p = InertialPropagator.from_tle(t)
    late = t.epoch + TimeSpan.from_days(30.0)
    assert p.get_cartesian_state_at_epoch(late) is None
    assert p.get_keplerian_state_at_epoch(late) is None


# The ISS in CelesTrak's "active" group of 2020-09-30 (engine/tests/data/catalog-20200930.tle).
ISS1 = "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993"
ISS2 = "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396"


def test_states_carry_the_epoch_as_given():
    t = TLE.from_lines(ISS1, ISS2)
    p = InertialPropagator.from_tle(t)
    s = p.get_cartesian_state_at_epoch(t.epoch)
    assert s.epoch == t.epoch and s.get_frame() == ReferenceFrame.TEME
    tai = Epoch.from_days_since_1950(t.epoch.days_since_1950, TimeSystem.TAI)
    s_tai = p.get_cartesian_state_at_epoch(tai)
    assert s_tai.epoch.time_system == TimeSystem.TAI
    assert s_tai.position.x == s.position.x   # the count is handed over as it is
    k = p.get_keplerian_state_at_epoch(t.epoch + TimeSpan.from_hours(6.0))
    assert k.frame == ReferenceFrame.TEME and k.type == KeplerianType.MeanKozaiGP
    assert k.mean_anomaly != t.mean_anomaly     # SGP4's mean elements at the time, not the TLE's
    own = p.keplerian_state
    assert own.mean_anomaly == t.mean_anomaly and own.epoch == t.epoch
    assert p.force_properties.drag_coefficient == t.b_term


def afspc_satrec(l1, l2):
    """python-sgp4 in the operational (AFSPC) mode, as the engine runs SGP4: near-equatorial
    orbits keep their node in [0, 2 pi) in the Lyddane branch. Its default "improved" mode does
    not, which moves a near-equatorial MEO such as O3B FM4 (39189) by 7.7 m."""
    ref = sgp4.api.Satrec.twoline2rv(l1, l2, sgp4.api.WGS72)
    sat = sgp4.api.Satrec()
    sat.sgp4init(sgp4.api.WGS72, "a", ref.satnum, ref.jdsatepoch + ref.jdsatepochF - 2433281.5,
                 ref.bstar, ref.ndot, ref.nddot, ref.ecco, ref.argpo, ref.inclo, ref.mo,
                 ref.no_kozai, ref.nodeo)
    return sat


def test_a_real_catalog_against_python_sgp4():
    lines = (DATA / "catalog-20200930.tle").read_text().splitlines()
    worst = 0.0
    for name, l1, l2 in list(zip(lines[0::3], lines[1::3], lines[2::3]))[::3]:
        t = TLE.from_lines(name, l1, l2)
        p = InertialPropagator.from_tle(t)
        ref = afspc_satrec(l1, l2)
        for hours in (-72.0, -7.5, 0.0, 13.25, 30.0, 72.0):
            e, r, v = ref.sgp4_tsince(hours * 60.0)
            state = p.get_cartesian_state_at_epoch(t.epoch + TimeSpan.from_hours(hours))
            if e != 0:
                assert state is None
                continue
            got = state.position
            worst = max(worst, math.dist((got.x, got.y, got.z), r))
    # 1 cm, as above: the day count since 1950 against python-sgp4's minutes since epoch.
    assert worst < 1e-5


def test_keys_are_released_by_propagators():
    start = TLEInterface.count_loaded()
    t = TLE.from_lines(ISS1, ISS2)
    props = [InertialPropagator.from_tle(t) for _ in range(1000)]
    assert TLEInterface.count_loaded() == start + 1001
    del props
    assert TLEInterface.count_loaded() == start + 1
    assert InertialPropagator.from_tle(t).get_cartesian_state_at_epoch(t.epoch) is not None
    del t
    assert TLEInterface.count_loaded() == start


def test_from_tle_checks_its_argument():
    with pytest.raises(TypeError, match="tle"):
        InertialPropagator.from_tle("not a TLE")
