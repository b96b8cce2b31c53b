# The project's front door. `make run` builds and starts the shell; `make test`
# builds and runs every test; `make fuzz` fuzzes the command loop;
# `make soak` runs a million lines through the program; `make windows`
# cross-builds the Windows program.

NATIVE_PACKAGES := cmake make g++ libgtest-dev libgmock-dev locales tmux
FUZZ_PACKAGES := cmake make clang-14 libclang-rt-14-dev
SOAK_PACKAGES := valgrind
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# How long `make fuzz` runs, and the shorter run that `make test` includes
# where clang is installed.
FUZZ_SECONDS ?= 300
TEST_FUZZ_SECONDS ?= 30

.PHONY: all run test fuzz soak windows format clean native-packages fuzz-packages \
  soak-packages windows-packages

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

windows: windows-packages
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)

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
