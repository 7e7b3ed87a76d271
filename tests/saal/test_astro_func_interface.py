"""astro_func_interface: registration, constants, argument checks and a few values against
independent arithmetic (the engine's own tests check the models against ERFA and skyfield)."""

import math

import pytest

import talvoran
from talvoran import astro_func_interface as afi
from talvoran import time_func_interface as tfi

FUNCTIONS = ["teme_to_topo", "ra_dec_to_az_el_time", "ra_dec_to_az_el", "theta_teme_to_lla",
             "time_teme_to_lla", "mean_motion_to_sma", "kozai_to_brouwer", "brouwer_to_kozai",
             "sma_to_mean_motion", "topo_date_to_equinox", "topo_equinox_to_date",
             "get_jpl_sun_and_moon_position", "horizon_to_teme"]
CONSTANTS = {
    "XA_TOPO_RA": 0, "XA_TOPO_DEC": 1, "XA_TOPO_AZ": 2, "XA_TOPO_EL": 3, "XA_TOPO_RANGE": 4,
    "XA_TOPO_RADOT": 5, "XA_TOPO_DECDOT": 6, "XA_TOPO_AZDOT": 7, "XA_TOPO_ELDOT": 8,
    "XA_TOPO_RANGEDOT": 9, "XA_TOPO_SIZE": 10, "XA_RAE_RANGE": 0, "XA_RAE_AZ": 1, "XA_RAE_EL": 2,
    "XA_RAE_RANGEDOT": 3, "XA_RAE_AZDOT": 4, "XA_RAE_ELDOT": 5, "XA_RAE_SIZE": 6,
    "YROFEQNX_2000": 2, "YROFEQNX_CURR": 1,
}


def test_registration_order_and_constants():
    names = [n for n in vars(afi) if not n.startswith("__")]
    assert names[:len(FUNCTIONS)] == FUNCTIONS
    assert {n: getattr(afi, n) for n in CONSTANTS} == CONSTANTS


def test_mean_motion_and_axis():
    # Kepler's third law with WGS-72 GM = 398600.8 km^3/s^2.
    n = afi.sma_to_mean_motion(6778.0)
    assert n == pytest.approx(86400 / (2 * math.pi * math.sqrt(6778.0**3 / 398600.8)), rel=1e-13)
    assert afi.mean_motion_to_sma(n) == pytest.approx(6778.0, rel=1e-13)
    kozai = afi.brouwer_to_kozai(0.001, 51.6, n)
    assert afi.kozai_to_brouwer(0.001, 51.6, kozai) == pytest.approx(n, rel=1e-14)


SITE_LAT, SITE_LON = 21.5723, -158.2666   # Kaena Point
DS50 = tfi.ymd_components_to_ds50(2024, 3, 1, 12, 0, 0.0)


def site_and_theta():
    gst = tfi.get_fk5_greenwich_angle(tfi.ds50_utc_to_ut1(DS50))
    llh_to_teme = afi.horizon_to_teme  # noqa: F841 - documented pairing below
    return gst + math.radians(SITE_LON), gst


def test_topocentric_round_trip_through_horizon_to_teme():
    lst, _ = site_and_theta()
    sen = [math.cos(lst) * 5900.0, math.sin(lst) * 5900.0, 2330.0]
    sat_pos, sat_vel = [sen[0] + 500.0, sen[1] - 300.0, sen[2] + 800.0], [1.0, -6.5, 3.2]
    topo = afi.teme_to_topo(lst, SITE_LAT, sen, sat_pos, sat_vel)
    assert len(topo) == afi.XA_TOPO_SIZE
    assert topo[afi.XA_TOPO_RANGE] == pytest.approx(math.dist(sen, sat_pos), rel=1e-12)
    rae = [topo[afi.XA_TOPO_RANGE], topo[afi.XA_TOPO_AZ], topo[afi.XA_TOPO_EL],
           topo[afi.XA_TOPO_RANGEDOT], topo[afi.XA_TOPO_AZDOT], topo[afi.XA_TOPO_ELDOT]]
    back = afi.horizon_to_teme(lst, SITE_LAT, sen, rae)
    assert back[:3] == pytest.approx(sat_pos, abs=1e-8)
    assert back[3:] == pytest.approx(sat_vel, abs=1e-10)


def test_failures_and_argument_checks():
    with pytest.raises(RuntimeError, match="zero range"):
        afi.teme_to_topo(0.0, 0.0, [7000.0, 0.0, 0.0], [7000.0, 0.0, 0.0], [0.0, 7.5, 0.0])
    with pytest.raises(RuntimeError):
        afi.horizon_to_teme(0.0, 0.0, [7000.0, 0.0, 0.0], [0.0] * 6)
    with pytest.raises(TypeError, match="xa_rae"):
        afi.horizon_to_teme(0.0, 0.0, [7000.0, 0.0, 0.0], [1.0] * 5)
    with pytest.raises(TypeError, match="sen_pos"):
        afi.teme_to_topo(0.0, 0.0, [1.0, 2.0], [1.0, 2.0, 3.0], [1.0, 2.0, 3.0])


def test_geodetic_of_a_teme_position():
    gst = tfi.get_fk5_greenwich_angle(tfi.ds50_utc_to_ut1(DS50))
    # A point 400 km above the equator at the Greenwich meridian of the instant.
    pos = [math.cos(gst) * 6778.135, math.sin(gst) * 6778.135, 0.0]
    lat, lon, h = afi.theta_teme_to_lla(gst, pos)
    assert (lat, lon, h) == pytest.approx((0.0, 0.0, 400.0), abs=1e-9)
    assert afi.time_teme_to_lla(DS50, pos) == pytest.approx([lat, lon, h], abs=1e-9)


def test_equinox_rotations_are_inverse():
    ra, dec = afi.topo_date_to_equinox(afi.YROFEQNX_2000, DS50, 123.0, -45.0)
    assert (ra, dec) != (123.0, -45.0)
    assert afi.topo_equinox_to_date(afi.YROFEQNX_2000, DS50, ra, dec) == pytest.approx((123.0, -45.0), abs=1e-10)


def test_sun_and_moon_by_the_analytic_default():
    sun, moon = afi.get_jpl_sun_and_moon_position(DS50)
    # 1 au and the Moon's distance, within their yearly and monthly ranges.
    assert 1.47e8 < math.hypot(*sun) < 1.53e8
    assert 356_000 < math.hypot(*moon) < 407_000


def test_jpl_path_is_cut_and_a_bad_file_leaves_the_analytic_default(tmp_path):
    before = afi.get_jpl_sun_and_moon_position(DS50)
    talvoran.set_jpl_ephemeris_file_path(str(tmp_path / ("x" * 600)))   # not checked, never raises
    bad = tmp_path / "not_spk.bsp"
    bad.write_bytes(b"\0" * 4096)
    talvoran.set_jpl_ephemeris_file_path(str(bad))
    assert "not_spk.bsp" in talvoran.saal.MainInterface.get_last_error_message()
    assert afi.get_jpl_sun_and_moon_position(DS50) == before


def test_jpl_file_against_the_analytic_series():
    # With DE421 (made by `make test` from the de421 package) the positions move from the analytic
    # series by no more than that series' stated accuracy: Sun 0.008 deg, Moon 0.0022 deg.
    import os
    path = os.environ.get("TALVORAN_DE421", "")
    if not os.path.exists(path):
        pytest.skip("TALVORAN_DE421 names no DE421 file")
    analytic = afi.get_jpl_sun_and_moon_position(DS50)
    talvoran.set_jpl_ephemeris_file_path(path)
    try:
        jpl = afi.get_jpl_sun_and_moon_position(DS50)
        for body, limit in ((0, 0.008), (1, 0.0022)):
            a, b = analytic[body], jpl[body]
            cos = sum(x * y for x, y in zip(a, b)) / (math.hypot(*a) * math.hypot(*b))
            assert jpl[body] != analytic[body]
            assert math.degrees(math.acos(min(1.0, cos))) < limit
    finally:
        talvoran.set_jpl_ephemeris_file_path("")   # refused: back to the analytic series
    assert afi.get_jpl_sun_and_moon_position(DS50) == analytic
