# Thin wrappers over the CMake presets; each first installs what is missing. run and test
# are ./quarrix.sh's, which needs no make.
PRESET ?= dev
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build run test bench fuzz format screenshots package windows clean

deps:
	@scripts/install-deps

build: deps
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET) -j $(JOBS)

run:
	@PRESET=$(PRESET) JOBS=$(JOBS) ./quarrix.sh run

test:
	@PRESET=$(PRESET) JOBS=$(JOBS) ./quarrix.sh test

bench: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	build/release/bench/quarrix_bench
	@if [ -x build/release/bench/quarrix_ui_bench ]; then \
	  QT_QPA_PLATFORM=offscreen build/release/bench/quarrix_ui_bench; fi
	@if [ -x build/release/bench/quarrix_session_bench ]; then \
	  QT_QPA_PLATFORM=offscreen build/release/bench/quarrix_session_bench; fi
	scripts/bench-list-sort build/release/src/cli/quarrix-cli
	scripts/bench-uz2-cli build/release

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

screenshots: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS) --target quarrix_screenshots
	QT_QPA_PLATFORM=offscreen build/dev/tools/screenshots/quarrix_screenshots build/dev/screenshots

package: deps
	cmake --preset package >/dev/null
	cmake --build --preset package -j $(JOBS)
	cd build/package && cpack

# The Windows build, its core tests and quarrix-cli.exe run under Wine, the CLI held to the
# bytes of the dev build's quarrix-cli, as in CI's Windows stage.
windows:
	@scripts/install-deps --ci
	cmake --preset dev >/dev/null
	cmake --build --preset dev -j $(JOBS) --target quarrix-cli make_sample
	cmake --preset mingw >/dev/null
	cmake --build --preset mingw -j $(JOBS)
	scripts/run-windows-tests build/dev

# Needs clang-format only, not the whole set of build packages.
format:
	@command -v clang-format >/dev/null || \
	  { echo "make format: clang-format is missing (apt-get install clang-format)" >&2; exit 1; }
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format -i

clean:
	rm -rf build
