# Keldro: `make run` sets up, builds and starts; `make test` sets up, builds and
# runs every test. Both install missing Debian packages first.
SHELL := /bin/bash
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc)
CMAKE_FLAGS := -G Ninja -DKELDRO_WERROR=ON

.PHONY: all deps build run screenshots install test test-plain test-sanitize bench fuzz format format-check clean

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

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) out
