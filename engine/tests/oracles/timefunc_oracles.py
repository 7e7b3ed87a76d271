"""Prints the reference values hard-coded in engine/tests/test_timefunc.cpp.

Run with pyerfa, astropy and sgp4 installed (pyerfa 2.0.1.5, astropy 8.0.3, sgp4 2.27 were used):
    python engine/tests/oracles/timefunc_oracles.py
The engine is not called: every number here comes from ERFA, python-sgp4 or the EOP file's rows.
"""
import math
import pathlib

import erfa
from sgp4.propagation import _gstime

DS50_JD = 2433281.5
EOP = pathlib.Path(__file__).resolve().parents[2] / "data" / "EOP-All-v1.1_2025-01-10.txt"


def eop_rows():
    rows, inside = {}, False
    for line in EOP.read_text().splitlines():
        if line.startswith("BEGIN"):
            inside = True
        elif line.startswith("END"):
            inside = False
        elif inside and line.strip():
            f = line.split()
            rows[int(f[3])] = (float(f[4]), float(f[5]), float(f[6]), int(f[12]))
    return rows


ROWS = eop_rows()


def dut1_of(u1, u2):
    """UT1-UTC by linear interpolation of UT1-TAI between the daily rows (TAI-UTC of a row from
    the file's own DAT column from 1972, from eraDat at 0h before), plus eraDat of the instant;
    outside the rows, the nearest row's UT1-UTC."""
    mjd = (u1 - 2400000.5) + u2
    m0 = math.floor(mjd)
    f = mjd - m0

    def ut1_tai(m):
        x, y, dut1, dat = ROWS[m]
        if m < 41317:
            iy, im, iday, _ = erfa.jd2cal(2400000.5, m)
            dat = erfa.dat(iy, im, iday, 0.0)
        return dut1 - dat

    first, last = min(ROWS), max(ROWS)
    if mjd <= first or mjd >= last:  # the engine holds the nearest row's UT1-UTC
        return ROWS[first if mjd <= first else last][2]
    iy, im, iday, fd = erfa.jd2cal(u1, u2)
    return ut1_tai(m0) + f * (ut1_tai(m0 + 1) - ut1_tai(m0)) + erfa.dat(iy, im, iday, fd)


def ds50(a1, a2):
    return (a1 - DS50_JD) + a2


SCALE_CASES = [
    (1961, 8, 1, 0, 0, 0.5), (1965, 3, 10, 12, 0, 0.0), (1968, 2, 1, 6, 30, 15.25),
    (1971, 12, 31, 23, 59, 59.5), (1972, 1, 1, 0, 0, 0.0), (1972, 6, 30, 23, 59, 59.75),
    (1972, 7, 1, 0, 0, 0.25), (1980, 1, 1, 0, 0, 0.5), (1985, 6, 30, 23, 59, 59.5),
    (1985, 7, 1, 0, 0, 0.5), (1995, 1, 29, 2, 38, 37.0), (2004, 4, 6, 7, 51, 28.386),
    (2004, 5, 14, 16, 43, 0.0), (2008, 12, 31, 23, 59, 59.999), (2009, 1, 1, 0, 0, 0.001),
    (2016, 12, 31, 23, 59, 59.5), (2017, 1, 1, 0, 0, 0.0), (2017, 1, 1, 0, 0, 0.5),
    (2024, 3, 1, 12, 30, 45.5), (2025, 1, 9, 18, 0, 0.0), (2025, 5, 20, 3, 15, 0.0),
    (2030, 6, 1, 0, 0, 0.0),
]

print("// {y, mo, d, h, mi, s, ds50_tai, ds50_tt, ds50_ut1}")
for c in SCALE_CASES:
    u1, u2 = erfa.dtf2d("UTC", *c)
    a1, a2 = erfa.utctai(u1, u2)
    t1, t2 = erfa.taitt(a1, a2)
    # UT1 = TAI + (UT1-TAI) with UT1-TAI = dut1 - (TAI-UTC at the instant). erfa.utcut1 would take
    # TAI-UTC at 0h instead, which before 1972 misses up to a day's drift (1.3 ms).
    iy, im, iday, fd = erfa.jd2cal(u1, u2)
    b1, b2 = erfa.taiut1(a1, a2, dut1_of(u1, u2) - erfa.dat(iy, im, iday, fd))
    print("    {%d, %d, %d, %d, %d, %r, %.12f, %.12f, %.12f}," % (*c, ds50(a1, a2), ds50(t1, t2), ds50(b1, b2)))

print("// GMST82: {ds50_ut1, erfa.gmst82(2433281.5, ds50_ut1)}")
for ds in [-3000.25, 1.0, 7305.0, 15573.509722222222, 18262.5, 20000.123456789, 27089.52135995370,
           36524.999999, 60000.75]:
    print("    {%r, %r}," % (ds, float(erfa.gmst82(DS50_JD, ds))))

# python-sgp4's opsmode 'a' Greenwich angle (Air Force code form, with its FK5 term) and its
# IAU-82 gstime, for the FK4 cross-checks.
TWOPI = 2 * math.pi
print("// SGP4 opsmode a: {ds50_ut1, gsto_a, gstime}")
for ds in [7305.0, 10000.5, 18262.25, 27089.52135995370, 36524.75]:
    ts70 = ds - 7305.0
    ds70 = (ts70 + 1.0e-8) // 1.0
    tfrac = ts70 - ds70
    c1, thgr70, fk5r = 1.72027916940703639e-2, 1.7321343856509374, 5.07551419432269442e-15
    gsto = (thgr70 + c1 * ds70 + (c1 + TWOPI) * tfrac + ts70 * ts70 * fk5r) % TWOPI
    print("    {%r, %r, %r}," % (ds, gsto, _gstime(ds + DS50_JD)))
