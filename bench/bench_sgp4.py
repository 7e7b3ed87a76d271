"""SGP4 throughput, side by side in one run: the engine against python-sgp4's compiled
SatrecArray, over the same element sets and the same day at 1-minute steps, one thread each.

    python bench/bench_sgp4.py [TLE_FILE] [--build DIR] [--repeats N] [--rounds K]

Prints states per second for each and their ratio. Both run on one thread, so the ratio is per
core. python-sgp4 gets its best case: one vectorised call over the whole (satellites x times) grid.
Every state is counted, including those where SGP4 reports an error, for both.

Each round times python-sgp4 and the two engine paths back to back (best of N runs each), so a
ratio compares runs made under the same load; with several rounds the medians are printed.
"""

import argparse
import glob
import pathlib
import subprocess
import sys
import time

import numpy as np
from sgp4.api import SatrecArray, Satrec, WGS72

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_TLE = ROOT / "engine" / "tests" / "data" / "catalog-20200930.tle"
DS50_JD = 2433281.5
STEPS = 1440


def element_sets(path):
    lines = [l.rstrip("\r\n") for l in open(path, encoding="utf-8", errors="replace")]
    return [(a[:69], b[:69]) for a, b in zip(lines, lines[1:])
            if a.startswith("1 ") and b.startswith("2 ") and len(a) >= 69 and len(b) >= 69]


def python_sgp4(pairs, start_ds50, repeats):
    array = SatrecArray([Satrec.twoline2rv(a, b, WGS72) for a, b in pairs])
    whole = np.floor(start_ds50)
    jd = np.full(STEPS, DS50_JD + whole)
    fr = (start_ds50 - whole) + np.arange(STEPS) / 1440.0
    best = float("inf")
    for _ in range(repeats):
        t0 = time.perf_counter()
        e, r, v = array.sgp4(jd, fr)
        best = min(best, time.perf_counter() - t0)
    return len(pairs) * STEPS, best


def engine(binary, tle, start_ds50, repeats, mode):
    out = subprocess.run([str(binary), str(tle), repr(start_ds50), str(repeats), mode],
                         capture_output=True, text=True, check=True).stdout.split()
    return int(out[0]), float(out[1])


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("tle", nargs="?", default=str(DEFAULT_TLE))
    parser.add_argument("--build", default=None, help="CMake build tree holding bench/sgp4_rate")
    parser.add_argument("--repeats", type=int, default=5)
    parser.add_argument("--rounds", type=int, default=1,
                        help="rounds of the three measurements; medians are reported")
    args = parser.parse_args()

    build = args.build or next(iter(sorted(glob.glob(str(ROOT / "build" / "cp*")))), None)
    binary = pathlib.Path(build or "") / "bench" / "sgp4_rate"
    if not binary.exists():
        sys.exit(f"{binary} not found: run `make build` first (or pass --build)")

    pairs = element_sets(args.tle)
    # The day after the median epoch: most sets are then 0-2 days from their epoch.
    epochs = sorted(Satrec.twoline2rv(a, b).jdsatepoch + Satrec.twoline2rv(a, b).jdsatepochF
                    for a, b in pairs)
    start = round(epochs[len(epochs) // 2] - DS50_JD)

    rounds = []
    for _ in range(max(1, args.rounds)):
        n_py, t_py = python_sgp4(pairs, start, args.repeats)
        n_one, t_one = engine(binary, args.tle, start, args.repeats, "single")
        n_batch, t_batch = engine(binary, args.tle, start, args.repeats, "batch")
        rounds.append((n_py / t_py, n_one / t_one, n_batch / t_batch))
    median = lambda xs: float(np.median(xs))
    rate_py = median([r[0] for r in rounds])
    rate_one, ratio_one = median([r[1] for r in rounds]), median([r[1] / r[0] for r in rounds])
    rate_batch, ratio_batch = median([r[2] for r in rounds]), median([r[2] / r[0] for r in rounds])
    print(f"{len(pairs)} element sets from {pathlib.Path(args.tle).name}, 1 day at 1-min steps, "
          f"1 thread, best of {args.repeats}" +
          (f", median of {len(rounds)} rounds" if len(rounds) > 1 else ""))
    print(f"  python-sgp4 SatrecArray      {rate_py / 1e6:8.3f} M states/s")
    print(f"  engine, one state a call     {rate_one / 1e6:8.3f} M states/s  "
          f"ratio {ratio_one:.2f}")
    print(f"  engine, a day a call (batch) {rate_batch / 1e6:8.3f} M states/s  "
          f"ratio {ratio_batch:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
