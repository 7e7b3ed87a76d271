#!/usr/bin/env bash
# Builds the engine and the extension with AddressSanitizer and UndefinedBehaviorSanitizer into
# build/sanitize (apart from the regular build) and runs both test suites against that build.
# Leak detection is off for the Python run: the interpreter itself keeps memory until exit.
set -euo pipefail
cd "$(dirname "$0")/.."
PY=${1:-.venv/bin/python}
site=build/sanitize/site

"$PY" -m pip install -q --no-build-isolation --no-deps --upgrade --target "$site" \
  -Cbuild-dir=build/sanitize/cmake \
  -Ccmake.build-type=RelWithDebInfo \
  -Ccmake.define.TALVORAN_SANITIZE=ON \
  -Ccmake.define.TALVORAN_TESTS=ON .

export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$(dirname "$PY")/ctest" --test-dir build/sanitize/cmake --output-on-failure

asan=$(gcc -print-file-name=libasan.so)
ubsan=$(gcc -print-file-name=libubsan.so)
root=$(pwd)
# pytest captures the test process's standard error, so the sanitizers write their reports to
# files, shown here when the run fails.
reports=$root/build/sanitize/reports
rm -rf "$reports" && mkdir -p "$reports"
status=0
(
  cd tests
  LD_PRELOAD="$asan:$ubsan" \
    ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:suppressions=$root/scripts/asan.supp:log_path=$reports/asan" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan" \
    PYTHONPATH="$root/$site" "../$PY" -m pytest -q -p no:cacheprovider
) || status=$?
for report in "$reports"/*; do
  [ -e "$report" ] && { echo "== $report"; cat "$report"; }
done
exit $status
