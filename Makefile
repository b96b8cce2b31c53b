# The project's front door. `make run` builds and starts the shell; `make test`
# builds and runs every test, the Windows program's under Wine included;
# `make fuzz` fuzzes the command loop; `make soak` runs a million lines
# through the program; `make windows` cross-builds the Windows program;
# `make bench` measures the shell against dash and the machine's floor, and
# `make micro-bench` runs the micro-benchmarks.

NATIVE_PACKAGES := cmake make g++ libgtest-dev libgmock-dev locales tmux
FUZZ_PACKAGES := cmake make clang-14 libclang-rt-14-dev
SOAK_PACKAGES := valgrind
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix googletest
WINE_PACKAGES := wine wine64
BENCH_PACKAGES := cmake make g++ libbenchmark-dev dash time
# Without it the benchmark still runs and says what it skipped.
BENCH_OPTIONAL_PACKAGES := valgrind
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Passed on to Google Benchmark, e.g. --benchmark_filter=TextConcat
MICRO_BENCH_ARGS ?=
# How long `make fuzz` runs, and the shorter run that `make test` includes
# where clang is installed.
FUZZ_SECONDS ?= 300
TEST_FUZZ_SECONDS ?= 30

.PHONY: all run test native-test windows-test windows-suite windows fuzz soak bench \
	micro-bench bench-build format clean native-packages fuzz-packages soak-packages \
	windows-packages bench-packages

all: native-packages
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

run: all
	./build/release/quorvane-shell

test: native-test
	@$(MAKE) --no-print-directory windows-test

native-test: native-packages
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	ctest --preset release
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan
	@if command -v clang++-14 >/dev/null 2>&1; then \
	  $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS); \
	else \
	  echo "clang++-14 is not installed: no fuzzing here (make fuzz installs it)"; \
	fi

fuzz: fuzz-packages
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	sh tests/fuzz/run-fuzz.sh build/fuzz/tests/fuzz/shell_fuzz $(FUZZ_SECONDS)

soak: native-packages soak-packages
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	sh tests/soak/run-soak.sh build/release build/asan

# The Windows program's tests need mingw-w64, GoogleTest's sources and Wine.
# Where they are missing and cannot be installed, the suite is skipped with a
# word saying so, except under CI, where a skip is a failure.
windows-test: native-packages
	@if sh cmake/ensure-packages.sh $(WINDOWS_PACKAGES) $(WINE_PACKAGES); then \
	  $(MAKE) --no-print-directory windows-suite; \
	else \
	  echo "*** Windows tests SKIPPED: mingw-w64, GoogleTest's sources or Wine is missing." >&2; \
	  echo "*** Install them with: sudo apt-get install $(WINDOWS_PACKAGES) $(WINE_PACKAGES)" >&2; \
	  if [ "$${CI:-}" = true ]; then \
	    echo "*** Under CI a skipped suite is a failure." >&2; exit 1; \
	  fi; \
	fi

windows-suite:
	cmake --preset windows
	cmake --build --preset windows-tests -j $(JOBS)
	ctest --preset windows

windows: windows-packages
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

# The Windows program is built for its size; where it cannot be, the
# benchmark says so and goes on.
bench: bench-build
	-$(MAKE) --no-print-directory windows
	bash bench/run-bench.sh build/bench build/windows/quorvane-shell.exe

micro-bench: bench-build
	./build/bench/bench/quorvane-micro-bench $(MICRO_BENCH_ARGS)

bench-build: bench-packages
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

native-packages:
	@sh cmake/ensure-packages.sh $(NATIVE_PACKAGES)
	@sh cmake/ensure-locales.sh

fuzz-packages:
	@sh cmake/ensure-packages.sh $(FUZZ_PACKAGES)

soak-packages:
	@sh cmake/ensure-packages.sh $(SOAK_PACKAGES)

windows-packages:
	@sh cmake/ensure-packages.sh $(WINDOWS_PACKAGES)

bench-packages:
	@sh cmake/ensure-packages.sh $(BENCH_PACKAGES)
	@sh cmake/ensure-packages.sh $(BENCH_OPTIONAL_PACKAGES) || \
		echo "Going on without $(BENCH_OPTIONAL_PACKAGES): instruction counts are skipped" >&2
