# The project's front door. `make run` builds and starts the shell; `make test`
# builds and runs every test; `make windows` cross-builds the Windows program;
# `make bench` measures the shell against dash and the machine's floor, and
# `make micro-bench` runs the micro-benchmarks.

NATIVE_PACKAGES := cmake make g++ libgtest-dev libgmock-dev locales
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix
BENCH_PACKAGES := cmake make g++ libbenchmark-dev dash time
# Without it the benchmark still runs and says what it skipped.
BENCH_OPTIONAL_PACKAGES := valgrind
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Passed on to Google Benchmark, e.g. --benchmark_filter=TextConcat
MICRO_BENCH_ARGS ?=

.PHONY: all run test windows bench micro-bench bench-build format clean native-packages \
	windows-packages bench-packages

all: native-packages
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

run: all
	./build/release/quorvane-shell

test: native-packages
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	ctest --preset release
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan

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

windows-packages:
	@sh cmake/ensure-packages.sh $(WINDOWS_PACKAGES)

bench-packages:
	@sh cmake/ensure-packages.sh $(BENCH_PACKAGES)
	@sh cmake/ensure-packages.sh $(BENCH_OPTIONAL_PACKAGES) || \
		echo "Going on without $(BENCH_OPTIONAL_PACKAGES): instruction counts are skipped" >&2
