"""Ephemerides of a whole catalog, side by side in one run: talvoran's Satellite.get_ephemeris
(one day at 60 s for every satellite, through the Python API) against python-sgp4's compiled
SatrecArray computing the same states. One thread each; reported as states per second and ratio.

    python bench/bench_ephemeris.py [TLE_FILE] [--repeats N]
"""

import argparse
import pathlib
import sys
import time

import numpy as np
from sgp4.api import SatrecArray, Satrec, WGS72

from talvoran.bodies import Satellite
from talvoran.catalogs import TLECatalog
from talvoran.enums import TimeSystem
from talvoran.time import Epoch, TimeSpan

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_TLE = ROOT / "engine" / "tests" / "data" / "catalog-20200930.tle"
DS50_JD = 2433281.5


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("tle", nargs="?", default=str(DEFAULT_TLE))
    parser.add_argument("--repeats", type=int, default=3)
    args = parser.parse_args()

    catalog = TLECatalog.from_tle_file(args.tle)
    tles = [catalog[k] for k in catalog.keys()]
    epochs = sorted(t.epoch.days_since_1950 for t in tles)
    start_ds50 = float(round(epochs[len(epochs) // 2]))
    start = Epoch.from_days_since_1950(start_ds50, TimeSystem.UTC)
    end = start + TimeSpan.from_days(1.0)
    step = TimeSpan.from_seconds(60.0)

    best_ours, states = float("inf"), 0
    for _ in range(args.repeats):
        satellites = [Satellite.from_tle(t) for t in tles]   # fresh caches every run
        t0 = time.perf_counter()
        ephemerides = [s.get_ephemeris(start, end, step) for s in satellites]
        best_ours = min(best_ours, time.perf_counter() - t0)
        states = sum(e.number_of_states for e in ephemerides if e is not None)

    lines = pathlib.Path(args.tle).read_text(errors="replace").splitlines()
    pairs = [(a[:69], b[:69]) for a, b in zip(lines, lines[1:])
             if a.startswith("1 ") and b.startswith("2 ")]
    array = SatrecArray([Satrec.twoline2rv(a, b, WGS72) for a, b in pairs])
    jd = np.full(1441, DS50_JD + start_ds50)
    fr = np.arange(1441) / 1440.0
    best_peer = float("inf")
    for _ in range(args.repeats):
        t0 = time.perf_counter()
        array.sgp4(jd, fr)
        best_peer = min(best_peer, time.perf_counter() - t0)
    peer_states = len(pairs) * 1441

    ours, peer = states / best_ours, peer_states / best_peer
    print(f"{len(tles)} satellites from {pathlib.Path(args.tle).name}, one day at 60 s, 1 thread, "
          f"best of {args.repeats}")
    print(f"  python-sgp4 SatrecArray (states only)     {peer / 1e6:7.3f} M states/s")
    print(f"  talvoran Satellite.get_ephemeris (tables) {ours / 1e6:7.3f} M states/s  "
          f"ratio {ours / peer:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
