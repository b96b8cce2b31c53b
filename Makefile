# The project's front door. `make run` builds and starts the shell; `make test`
# builds and runs every test; `make windows` cross-builds the Windows program.

NATIVE_PACKAGES := cmake make g++ libgtest-dev libgmock-dev locales
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all run test windows format clean native-packages windows-packages

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

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

native-packages:
	@sh cmake/ensure-packages.sh $(NATIVE_PACKAGES)
	@sh cmake/ensure-locales.sh

windows-packages:
	@sh cmake/ensure-packages.sh $(WINDOWS_PACKAGES)
