"""Reference values hard-coded in engine/tests/test_astrofunc_*.cpp.

Run with the project's virtual environment (pyerfa, sgp4, skyfield installed):
    .venv/bin/python engine/tests/oracles/astrofunc_oracles.py [de421.bsp]
Nothing here runs at test time; the C++ tests carry the printed numbers.
"""
import math
import sys

import erfa
import numpy as np
from sgp4.earth_gravity import wgs72
from sgp4.io import twoline2rv
from skyfield.api import load, wgs84, EarthSatellite
from skyfield.elementslib import OsculatingElements
from skyfield.sgp4lib import TEME, theta_GMST1982
from skyfield.units import Distance, Velocity

WGS72_A_KM, WGS72_F = 6378.135, 1.0 / 298.26
WGS72_MU = 398600.8

ISS = ("1 25544U 98067A   20062.59097222  .00016717  00000-0  10270-3 0  9006",
       "2 25544  51.6422 176.6064 0005347 340.2246  19.8700 15.49151798215770")


def section(title):
    print(f"\n== {title}")


def geodetic():
    section("erfa.gc2gd with WGS-72 (a = 6378.135 km, f = 1/298.26)")
    for xyz in ([6524.834, 6862.875, 6448.296], [-1033.479383, 7901.2952754, 6380.3565958],
                [0.0, 0.0, 6356.7], [1.0e-3, 0.0, -6400.0], [42164.0, -100.0, 10.0],
                [100.0, 200.0, -50.0]):
        lon, lat, h = erfa.gc2gde(WGS72_A_KM, WGS72_F, np.array(xyz))
        print(f"{{{{{xyz[0]!r}, {xyz[1]!r}, {xyz[2]!r}}}, {{{math.degrees(lat)!r}, "
              f"{math.degrees(lon)!r}, {float(h)!r}}}}},")


def kozai():
    section("python-sgp4 Satrec (WGS-72): no_kozai, no_unkozai in rev/day")
    for l1, l2 in (ISS,
                   ("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
                    "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667"),
                   ("1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190",
                    "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891")):
        s = twoline2rv(l1, l2, wgs72)
        k = 1440.0 / (2 * math.pi)
        print(f"{{{s.ecco!r}, {math.degrees(s.inclo)!r}, {s.no_kozai * k!r}, "
              f"{s.no_unkozai * k!r}}},  // {l1[2:7]}")


def elements():
    section("skyfield OsculatingElements, mu = 398600.8 (WGS-72)")
    ts = load.timescale()
    t = ts.tt_jd(2451545.0)
    for r, v in (([6524.834, 6862.875, 6448.296], [4.901327, 5.533756, -1.976341]),
                 ([-9060.47373569, 4658.70952502, 813.68673153],
                  [-2.232832783, -4.110453490, -3.157345433]),
                 ([7000.0, -1200.0, 300.0], [1.0, -2.0, -7.3])):
        el = OsculatingElements(Distance(km=np.array(r)), Velocity(km_per_s=np.array(v)), t,
                                WGS72_MU)
        print(f"{{{{{r[0]!r}, {r[1]!r}, {r[2]!r}}}, {{{v[0]!r}, {v[1]!r}, {v[2]!r}}}, "
              f"{{{float(el.semi_major_axis.km)!r}, {float(el.eccentricity)!r}, {float(el.inclination.degrees)!r}, "
              f"{float(el.mean_anomaly.degrees)!r}, {float(el.longitude_of_ascending_node.degrees)!r}, "
              f"{float(el.argument_of_periapsis.degrees)!r}}}}},")


def topocentric():
    section("skyfield topocentric view of the ISS from a WGS-84 site")
    ts = load.timescale()
    l1, l2 = ISS
    sat = EarthSatellite(l1, l2, ts=ts)
    site = wgs84.latlon(40.0, -75.0, elevation_m=100.0)
    for t in (ts.utc(2020, 3, 2, 14, 39, 0.0), ts.utc(2020, 3, 2, 14, 41, 49.0)):
        sat_pos, sat_vel = sat.at(t).frame_xyz_and_velocity(TEME)
        site_pos, site_vel = site.at(t).frame_xyz_and_velocity(TEME)
        # The 1982 GMST by which skyfield turns TEME into ITRS (t.gmst is the IAU 2006 one).
        gmst_rad = float(theta_GMST1982(t.whole, t.ut1_fraction)[0])
        diff = (sat - site).at(t)
        alt, az, dist, alt_rate, az_rate, dist_rate = diff.frame_latlon_and_rates(site)
        dec, ra, _, dec_rate, ra_rate, _ = diff.frame_latlon_and_rates(TEME)
        print(f"utc {t.utc_strftime('%Y-%m-%d %H:%M:%S')} gmst_rad {gmst_rad!r}")
        print(f"  site TEME km {list(site_pos.km)}")
        print(f"  sat TEME km {list(sat_pos.km)} km/s {list(sat_vel.km_per_s)}")
        print(f"  az {az.degrees!r} el {alt.degrees!r} range {dist.km!r} "
              f"rangedot {dist_rate.km_per_s!r}")
        print(f"  azdot {az_rate.degrees.per_second!r} eldot {alt_rate.degrees.per_second!r}")
        print(f"  ra {ra.degrees!r} dec {dec.degrees!r} radot {ra_rate.degrees.per_second!r} "
              f"decdot {dec_rate.degrees.per_second!r}")




SUN_MOON_EPOCHS = ((1960, 3, 1, 0, 0, 0.0), (1972, 7, 15, 6, 30, 0.0), (1986, 1, 28, 16, 39, 0.0),
                   (2000, 1, 1, 12, 0, 0.0), (2004, 4, 6, 7, 51, 28.386009),
                   (2012, 6, 6, 1, 29, 0.0), (2020, 3, 2, 14, 39, 0.0),
                   (2031, 11, 14, 21, 7, 30.0), (2042, 9, 9, 3, 0, 0.0),
                   (2049, 12, 30, 23, 59, 0.0))


def teme_of_icrs(r_icrs, tt1, tt2):
    """ICRS -> mean J2000 (IAU 2000 frame bias) -> TEME of date (IAU 1976/1980, geometric EqE)."""
    rb, _, _ = erfa.bp00(tt1, tt2)
    dpsi, deps = erfa.nut80(tt1, tt2)
    eps = erfa.obl80(tt1, tt2)
    m = erfa.rz(dpsi * np.cos(eps), erfa.numat(eps, dpsi, deps) @ erfa.pmat76(tt1, tt2))
    return m @ (rb @ r_icrs)


def sun_moon(spk_path):
    from jplephem.spk import SPK
    section(f"jplephem {spk_path}: geocentric Sun and Moon, km, TEME of date")
    spk = SPK.open(spk_path)
    for y, mo, d, h, mi, s in SUN_MOON_EPOCHS:
        u1, u2 = erfa.dtf2d("UTC", y, mo, d, h, mi, s)
        tt1, tt2 = erfa.taitt(*erfa.utctai(u1, u2))
        tdb2 = tt2 + erfa.dtdb(tt1, tt2, 0.0, 0.0, 0.0, 0.0) / 86400.0
        earth = spk[3, 399].compute(tt1, tdb2)
        sun = spk[0, 10].compute(tt1, tdb2) - spk[0, 3].compute(tt1, tdb2) - earth
        moon = spk[3, 301].compute(tt1, tdb2) - earth
        s_t, m_t = teme_of_icrs(sun, tt1, tt2), teme_of_icrs(moon, tt1, tt2)
        print(f"{{{{{y}, {mo}, {d}, {h}, {mi}, {s!r}}}, {{{', '.join(repr(float(x)) for x in s_t)}}}, "
              f"{{{', '.join(repr(float(x)) for x in m_t)}}}}},")


def mean_elements():
    section("python-sgp4 (sgp4.api, WGS-72): state at tsince 0 and the TLE's mean elements")
    from sgp4.api import Satrec, WGS72
    for l1, l2 in (ISS,
                   ("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753",
                    "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667"),
                   ("1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190",
                    "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891")):
        sat = Satrec.twoline2rv(l1, l2, WGS72)
        err, r, v = sat.sgp4_tsince(0.0)
        assert err == 0
        n_unkozai = twoline2rv(l1, l2, wgs72).no_unkozai * 1440.0 / (2 * math.pi)
        print(f"{{{{{r[0]!r}, {r[1]!r}, {r[2]!r}}}, {{{v[0]!r}, {v[1]!r}, {v[2]!r}}}, "
              f"{n_unkozai!r}, {{{sat.ecco!r}, {math.degrees(sat.inclo)!r}, "
              f"{math.degrees(sat.mo)!r}, {math.degrees(sat.nodeo)!r}, "
              f"{math.degrees(sat.argpo)!r}}}}},  // {l1[2:7]}")


if __name__ == "__main__":
    geodetic()
    kozai()
    mean_elements()
    elements()
    topocentric()
    if len(sys.argv) > 1:  # a DE421 SPK file, e.g. from make_de421_spk.py
        sun_moon(sys.argv[1])
