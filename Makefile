# Entry points for a fresh Debian machine: `make test` installs what is missing, builds the
# plugin and its tests for 32-bit Windows, and runs every test under Wine; `make run` starts
# the plugin in the stand-in host.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build test run bench clean

all: build

deps:
	@bash tools/setup/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS) -- --no-print-directory

test: build
	@CV_WINEPREFIX=$(abspath $(BUILD))/wineprefix tools/wine/with-display.sh \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	@cmake --build $(BUILD) --target bench -j $(JOBS) -- --no-print-directory

run: build
	@bash tools/host/run-host.sh $(BUILD)

clean:
	@rm -rf $(BUILD)
