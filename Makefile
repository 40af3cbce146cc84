# Entry points for a fresh Debian machine: `make test` installs what is missing, builds the
# plugin and its tests for 32-bit Windows, and runs every test under Wine; `make run` starts
# the plugin in the stand-in host.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test soak run bench bench-million release clean

all: build

deps:
	@bash tools/setup/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

# The long runs (tests labelled soak) are left to `make soak`.
test: build
	@CV_WINEPREFIX=$(abspath $(BUILD))/wineprefix tools/wine/with-display.sh \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) -LE soak

# Only the tests labelled soak, with their larger counts: CV_SOAK_KILLS (default 200) kills, for
# example; each prints one summary line starting "soak:".
soak: build
	@CV_WINEPREFIX=$(abspath $(BUILD))/wineprefix tools/wine/with-display.sh \
	  bash -c 'set -o pipefail; ctest --test-dir $(BUILD) -V -L soak | grep -E "soak:|FAILED|tests passed|tests failed"'

bench: build
	@cmake --build $(BUILD) --target bench -j $(JOBS) -- --no-print-directory

# The installer and the zip for users, in $(BUILD)/release, named after the project's version.
release: build
	@cmake --build $(BUILD) --target release -- --no-print-directory

# The million-file library on disk: scan, rescan, a full tag pass, listing and sorting, each
# beside its floor. Generates the tree once (about a minute) and then runs for many minutes.
bench-million: configure
	@cmake --build $(BUILD) --target bench_million -j $(JOBS) -- --no-print-directory

run: build
	@bash tools/host/run-host.sh $(BUILD)

clean:
	@rm -rf $(BUILD)
