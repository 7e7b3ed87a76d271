#!/usr/bin/env bash
# Builds the engine and the object model with ThreadSanitizer into build/tsan (apart from the
# regular build) and runs the C++ tests of the shared ephemeris tables under it: readers sampling
# a table while a writer appends. Any report fails the run.
#
# The system's oneTBB is not built with ThreadSanitizer, so its synchronisation is invisible to it
# and would show as false races. The ephemeris tests do not use the worker pool; the suppressions
# in scripts/tsan.supp only keep a report from inside TBB's own code (linked, never called here)
# from hiding a real one.
set -euo pipefail
cd "$(dirname "$0")/.."
PY=${1:-.venv/bin/python}

"$PY" -m pip install -q --no-build-isolation --no-deps --upgrade --target build/tsan/site \
  -Cbuild-dir=build/tsan/cmake \
  -Ccmake.build-type=RelWithDebInfo \
  -Ccmake.define.TALVORAN_TSAN=ON \
  -Ccmake.define.TALVORAN_TESTS=ON .

export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$(pwd)/scripts/tsan.supp"
"$(dirname "$PY")/ctest" --test-dir build/tsan/cmake --output-on-failure -R '^Ephemeris'
