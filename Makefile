# Keldro: `make run` sets up, builds and starts; `make test` sets up, builds and
# runs every test. Both install missing Debian packages first.
SHELL := /bin/bash
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
DEB_BUILD ?= build-deb
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
CMAKE_FLAGS := -G Ninja -DKELDRO_WERROR=ON

.PHONY: all deps build run screenshots install test test-plain test-sanitize bench fuzz deb package-test format format-check clean

all: build

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [[ -z "$${DISPLAY:-}" && -z "$${WAYLAND_DISPLAY:-}" ]]; then \
	    echo "make run: there is no display here (neither DISPLAY nor WAYLAND_DISPLAY is set)," >&2; \
	    echo "  so the desktop program cannot open its window. Run it from a desktop session," >&2; \
	    echo "  see it with 'make screenshots' (a virtual screen), or use $(BUILD)/src/cli/keldro-cli." >&2; \
	    exit 1; \
	fi
	@$(BUILD)/src/shell/keldro

# PNGs of the main window's three pages, the split page with a lame-made VBR
# sample, and the dialogs, from the real program on a virtual screen, with a
# fresh settings store.
screenshots: build
	@./scripts/screenshots.sh $(BUILD) out/screenshots

test: test-plain test-sanitize

test-plain: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The core and the command line again under AddressSanitizer and UBSan.
test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug \
	    -DKELDRO_SANITIZE=address,undefined -DKELDRO_BUILD_GUI=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	@./scripts/install-deps.sh bench
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release \
	    -DKELDRO_BUILD_GUI=ON -DKELDRO_BUILD_TESTS=ON -DKELDRO_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@./bench/run.sh $(BENCH_BUILD)

fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKELDRO_BUILD_GUI=OFF -DKELDRO_BUILD_TESTS=OFF -DKELDRO_BUILD_FUZZ=ON \
	    -DKELDRO_SANITIZE=address,undefined >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@./fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Debian package keldro_<version>_<arch>.deb, here, from a release build of
# its own (desktop program included, tests left out) with Debian's hardening
# and path-mapping flags.
deb:
	@./scripts/install-deps.sh deb
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	cmake -S . -B $(DEB_BUILD) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_INSTALL_PREFIX=/usr -DKELDRO_BUILD_GUI=ON -DKELDRO_BUILD_TESTS=OFF \
	    -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	    -DCMAKE_SHARED_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(DEB_BUILD) -j $(JOBS)
	@rm -f $(DEB_BUILD)/keldro_*.deb keldro_*.deb
	@cd $(DEB_BUILD) && cpack -G DEB
	@cp $(DEB_BUILD)/keldro_*.deb .

# Builds the package, checks it, installs it on this machine, runs both
# programs from it and removes it again. Not part of `make test`.
package-test:
	@./scripts/package-test.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(DEB_BUILD) out keldro_*.deb
