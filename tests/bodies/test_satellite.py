"""Satellite: construction, state queries, setters, re-epoch and TLE output."""

import math

import pytest

from talvoran.bodies import Satellite
from talvoran.elements import KeplerianElements, KeplerianState, TLE
from talvoran.enums import Classification, KeplerianType, ReferenceFrame, TimeSystem
from talvoran.propagation import ForceProperties
from talvoran.time import Epoch, TimeSpan

ISS = ["ISS (ZARYA)",
       "1 25544U 98067A   20274.82890554  .00002661  00000-0  56764-4 0  9993",
       "2 25544  51.6441 185.7404 0001299 101.5310   5.1562 15.48814123248396"]


def test_new_satellite(loaded_before):
    s = Satellite()
    assert s.norad_id == 99999 and s.keplerian_state is None and s.name is None
    assert s.periapsis is None and s.apoapsis is None
    assert s.get_state_at_epoch(Epoch.from_days_since_1950(27000.0, TimeSystem.UTC)) is None
    f = s.force_properties
    assert (f.srp_coefficient, f.drag_coefficient, f.drag_area, f.mass) == (0.03, 0.01, 1.0, 1.0)
    assert s.to_tle() is None
    with pytest.raises(ValueError, match="^Inertial propagator is not set$"):
        s.step_to_epoch(Epoch.from_days_since_1950(27000.0, TimeSystem.UTC))
    assert Satellite().id != s.id


def test_from_tle_copies_identity_and_propagates(loaded_before):
    tle = TLE.from_lines(*ISS)
    s = Satellite.from_tle(tle)
    assert (s.id, s.name, s.norad_id) == (tle.id, "ISS (ZARYA)", 25544)
    assert s.keplerian_state.type == KeplerianType.MeanKozaiGP
    assert s.periapsis == tle.semi_major_axis * (1 - tle.eccentricity)
    state = s.get_state_at_epoch(tle.epoch + TimeSpan.from_minutes(90.0))
    assert state.get_frame() == ReferenceFrame.TEME
    assert 6700 < state.position.magnitude < 6800
    s.id, s.name, s.norad_id = "mine", None, 7
    assert (s.id, s.name, s.norad_id) == ("mine", None, 7)
    with pytest.raises(OverflowError):
        s.norad_id = 2**31
    del s, tle


def test_osculating_state_is_stored_but_not_propagated(loaded_before):
    tle = TLE.from_lines(*ISS)
    s = Satellite.from_tle(tle)
    at = tle.epoch + TimeSpan.from_hours(1.0)
    before = s.get_state_at_epoch(at).position.x
    osc = KeplerianState(tle.epoch, KeplerianElements(7000.0, 0.001, 98.0, 10.0, 20.0, 30.0),
                         ReferenceFrame.TEME, KeplerianType.Osculating)
    with pytest.raises(ValueError, match="^Osculating elements not implemented$"):
        s.keplerian_state = osc
    assert s.keplerian_state.type == KeplerianType.Osculating
    assert s.get_state_at_epoch(at).position.x == before    # the old propagator stays
    del s, tle


def test_mean_state_and_force_properties_rebuild_the_propagator(loaded_before):
    s = Satellite()
    epoch = Epoch.from_iso("2024-03-01T00:00:00", TimeSystem.UTC)
    s.keplerian_state = KeplerianState(epoch, KeplerianElements(7000.0, 0.001, 98.0, 10.0, 20.0, 30.0),
                                       ReferenceFrame.TEME, KeplerianType.MeanBrouwerGP)
    assert s.get_state_at_epoch(epoch) is not None
    later = epoch + TimeSpan.from_days(5.0)
    quiet = s.get_state_at_epoch(later).position
    s.force_properties = ForceProperties(0.03, 1.0, 0.5, 1.0, 1.0, 0.0, 0.0)   # much more drag
    assert s.force_properties.drag_coefficient == 0.5
    draggy = s.get_state_at_epoch(later).position
    assert math.dist((quiet.x, quiet.y, quiet.z), (draggy.x, draggy.y, draggy.z)) > 1.0
    tle = s.to_tle()
    assert tle.id == s.id and tle.classification == Classification.Unclassified
    assert tle.designator == "" and tle.b_term == pytest.approx(0.5)
    del s, tle


def test_step_to_epoch(loaded_before):
    tle = TLE.from_lines(*ISS)
    s = Satellite.from_tle(tle)
    target = tle.epoch + TimeSpan.from_days(1.25)
    reference = s.get_state_at_epoch(target).position
    s.step_to_epoch(target)
    k = s.keplerian_state
    # The new epoch is written to the 1e-8 day of the TLE epoch field.
    assert abs(k.epoch.days_since_1950 - target.days_since_1950) < 1e-8
    assert k.epoch.time_system == TimeSystem.UTC
    moved = s.get_state_at_epoch(target).position
    # The re-epoched set is written as TLE text: angles to 1e-4 deg (12 m at this radius), the
    # epoch to 1e-8 day (6.6 m of motion). It reproduces the state it was fitted to within 20 m.
    assert math.dist((moved.x, moved.y, moved.z), (reference.x, reference.y, reference.z)) < 0.02
    assert s.id == tle.id and s.name == "ISS (ZARYA)"
    del s, tle


def test_argument_types_are_checked():
    with pytest.raises(TypeError, match="tle"):
        Satellite.from_tle("x")
    with pytest.raises(TypeError, match="epoch"):
        Satellite().get_state_at_epoch(1.0)


def test_ephemeris_cache(loaded_before):
    tle = TLE.from_lines(*ISS)
    s = Satellite.from_tle(tle)
    start = tle.epoch
    end = start + TimeSpan.from_days(1.0)
    a = s.get_ephemeris(start, end, TimeSpan.from_minutes(1.0))
    assert a.number_of_states == 1441 and a.satellite_id == s.id and a.norad_id == 25544
    b = s.get_ephemeris(start, end, TimeSpan.from_minutes(1.0))
    assert b.id == a.id                     # served from the cache
    c = s.get_ephemeris(start, end, TimeSpan.from_minutes(2.0))
    assert c.id != a.id and c.number_of_states == 721
    assert s.get_ephemeris(start, end, TimeSpan.from_minutes(1.0)).id != a.id   # cache replaced
    # A step of a day over one day becomes a quarter day: five states, the end included.
    d = s.get_ephemeris(start, end, TimeSpan.from_days(1.0))
    assert d.number_of_states == 5
    # Between nodes the Hermite interpolation follows SGP4 to the cubic's error, h^4/384 times the
    # fourth derivative (about n^4 r): 0.4 m for a LEO at h = 60 s. 1 m.
    at = start + TimeSpan.from_seconds(12 * 3600 + 30)
    direct, interp = s.get_state_at_epoch(at).position, a.get_state_at_epoch(at).position
    assert math.dist((direct.x, direct.y, direct.z), (interp.x, interp.y, interp.z)) < 1e-3
    del a, b, c, d, s, tle


@pytest.mark.parametrize("step", [0.0, -60.0, math.nan, math.inf])
def test_ephemeris_refuses_steps_that_never_end(step, loaded_before):
    s = Satellite.from_tle(TLE.from_lines(*ISS))
    start = s.keplerian_state.epoch
    with pytest.raises(ValueError, match="step"):
        s.get_ephemeris(start, start + TimeSpan.from_days(1.0), TimeSpan.from_seconds(step))
    del s


def test_ephemeris_spans(loaded_before):
    s = Satellite.from_tle(TLE.from_lines(*ISS))
    start = s.keplerian_state.epoch
    one = s.get_ephemeris(start, start, TimeSpan.from_minutes(1.0))
    assert one.number_of_states == 1
    with pytest.raises(ValueError, match="before start_epoch"):
        s.get_ephemeris(start, start - TimeSpan.from_days(1.0), TimeSpan.from_minutes(1.0))
    with pytest.raises(ValueError, match="finite"):
        s.get_ephemeris(start, Epoch.from_days_since_1950(math.inf, TimeSystem.UTC),
                        TimeSpan.from_minutes(1.0))
    assert Satellite().get_ephemeris(start, start + TimeSpan.from_days(1.0),
                                     TimeSpan.from_minutes(1.0)) is None
    del s, one
