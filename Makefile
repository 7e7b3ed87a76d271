# make demo: set everything up and run the demonstration on bundled data.
# make test: set everything up and run the engine's C++ tests and the Python tests.
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c

PYTHON ?= python3
VENV := .venv
PY := $(VENV)/bin/python
STAMPS := .stamps
# The CMake build tree scikit-build-core keeps between builds (see pyproject.toml).
CMAKE_BUILD = $(firstword $(wildcard build/cp*))

.PHONY: demo test setup build test-cpp test-py check-format check-stubs stubs format \
        test-sanitize test-tsan bench clean

demo: build
	$(PY) -m talvoran

test: build test-cpp test-py check-stubs check-format

setup: $(STAMPS)/venv

$(STAMPS)/system: scripts/install-system-deps.sh
	scripts/install-system-deps.sh
	@mkdir -p $(STAMPS) && touch $@

# The virtual environment with the build tools and the test extras of pyproject.toml.
$(STAMPS)/venv: $(STAMPS)/system pyproject.toml
	$(PYTHON) -m venv $(VENV)
	$(PY) -m pip install -q --upgrade pip
	$(PY) -m pip install -q "nanobind==3.1.0" "scikit-build-core>=0.10" "cmake>=3.26" ninja \
	    $$($(PYTHON) scripts/extras.py test)
	@touch $@

# Builds the engine, the extension and the C++ tests, and installs the package into the venv.
build: $(STAMPS)/venv
	$(PY) -m pip install -q --no-build-isolation --no-deps \
	    -Ccmake.define.TALVORAN_TESTS=ON .

# JPL's DE421 as an SPK file, repacked from the de421 package of the test extras (a test input,
# not committed): the Sun and Moon tests compare against it.
DE421 := build/de421.bsp
$(DE421): $(STAMPS)/venv engine/tests/oracles/make_de421_spk.py
	@mkdir -p build
	$(PY) engine/tests/oracles/make_de421_spk.py $@ > /dev/null

test-cpp: build $(DE421)
	TALVORAN_DE421=$(abspath $(DE421)) $(VENV)/bin/ctest --test-dir $(CMAKE_BUILD) --output-on-failure

test-py: build $(DE421)
	cd tests && TALVORAN_DE421=$(abspath $(DE421)) ../$(PY) -m pytest -q

check-stubs: build
	$(PY) scripts/stubs.py --check

stubs: build
	$(PY) scripts/stubs.py

check-format: $(STAMPS)/system
	scripts/format.sh --check

format:
	scripts/format.sh

# The engine and the extension built with AddressSanitizer and UndefinedBehaviorSanitizer, and
# both test suites run against that build.
test-sanitize: $(STAMPS)/venv $(DE421)
	TALVORAN_DE421=$(abspath $(DE421)) scripts/test-sanitize.sh $(PY)

# The C++ tests of the shared ephemeris tables built with ThreadSanitizer: readers sampling a
# table while a writer appends.
test-tsan: $(STAMPS)/venv
	scripts/test-tsan.sh $(PY)

# Benchmarks against peers, side by side in one run (see bench/).
bench: build
	$(PY) bench/bench_sgp4.py
	$(PY) bench/bench_ephemeris.py

clean:
	rm -rf build $(STAMPS) $(VENV)
