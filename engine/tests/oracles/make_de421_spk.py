"""Write a DE421 SPK file (DAF, type-2 Chebyshev segments) for the Sun and Moon tests.

The PyPI package de421 (2008.1) ships JPL's DE421 Chebyshev coefficients as NumPy arrays rather
than as de421.bsp. This script repacks the ones the engine reads, 1959-12 to 2050-01, into the
layout of JPL's de421.bsp: Earth-Moon barycentre (3) and Sun (10) relative to the solar-system
barycentre, Moon (301) and Earth (399) relative to the Earth-Moon barycentre, TDB seconds past
J2000, frame J2000 (1). Then it reads the file back with jplephem.spk and checks it against
jplephem's own reader of the NumPy arrays.

    .venv/bin/python engine/tests/oracles/make_de421_spk.py /tmp/de421.bsp
    TALVORAN_DE421=/tmp/de421.bsp ctest --test-dir build/engine-astro -R astrofunc

The output is test data only and is not committed.
"""
import struct
import sys

import de421
import numpy as np
from jplephem.daf import DAF, FTPSTR
from jplephem.ephem import Ephemeris
from jplephem.spk import SPK

J2000_JD = 2451545.0
DAY_S = 86400.0
FIRST_JD, LAST_JD = 2436934.5, 2469808.5  # 1959-12-31, 2050-01-02


def segment(coeffs, jalpha, days_per_set, scale=1.0):
    """Type-2 array for the sets overlapping [FIRST_JD, LAST_JD]: records then trailer."""
    n_sets, _, n_coef = coeffs.shape
    first = int((FIRST_JD - jalpha) // days_per_set)
    last = int((LAST_JD - jalpha) // days_per_set) + 1
    records = []
    for k in range(first, last):
        start_jd = jalpha + k * days_per_set
        mid_s = (start_jd + days_per_set / 2 - J2000_JD) * DAY_S
        radius_s = days_per_set / 2 * DAY_S
        records.append(np.concatenate(([mid_s, radius_s], (scale * coeffs[k]).ravel())))
    init_s = (jalpha + first * days_per_set - J2000_JD) * DAY_S
    trailer = [init_s, days_per_set * DAY_S, 2 + 3 * n_coef, len(records)]
    start_s, end_s = init_s, init_s + len(records) * days_per_set * DAY_S
    return np.concatenate(records + [np.array(trailer, dtype=float)]), start_s, end_s


def main(path):
    eph = Ephemeris(de421)
    span = eph.jomega - eph.jalpha
    sets = {name: eph.load(name) for name in ("earthmoon", "sun", "moon")}
    days = {name: span / s.shape[0] for name, s in sets.items()}
    moon_share, earth_share = eph.moon_share, eph.earth_share

    with open(path, "w+b") as f:
        file_record = struct.pack(
            "<8sII60sIII8s603s28s297s", b"DAF/SPK ", 2, 6, b"DE421 from PyPI de421".ljust(60),
            2, 2, 385, b"LTL-IEEE", b"\0" * 603, FTPSTR, b"\0" * 297)
        f.write(file_record.ljust(1024, b"\0") + b"\0" * 1024 + b" " * 1024)
        daf = DAF(f)
        for target, center, name, scale in ((3, 0, "earthmoon", 1.0), (10, 0, "sun", 1.0),
                                             (301, 3, "moon", moon_share),
                                             (399, 3, "moon", -earth_share)):
            array, start_s, end_s = segment(sets[name], eph.jalpha, days[name], scale)
            daf.add_array(b"DE-0421LE-0421", (start_s, end_s, target, center, 1, 2), array)

    # Read it back with jplephem's SPK reader and compare with its reader of the arrays.
    spk = SPK.open(path)
    for jd in (2451545.0, 2458849.5 + 0.123, 2469000.25):
        emb = spk[0, 3].compute(jd)
        moon_geo = spk[3, 301].compute(jd) - spk[3, 399].compute(jd)
        sun_geo = spk[0, 10].compute(jd) - emb - spk[3, 399].compute(jd)
        ref_moon = np.ravel(eph.position("moon", jd))
        ref_sun = np.ravel(eph.position("sun", jd) - eph.position("earthmoon", jd)) + earth_share * ref_moon
        assert np.max(np.abs(moon_geo - ref_moon)) < 1e-6, (jd, moon_geo - ref_moon)
        assert np.max(np.abs(sun_geo - ref_sun)) < 1e-5, (jd, sun_geo - ref_sun)
    print(spk)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "de421.bsp")
