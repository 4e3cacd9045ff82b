# make         install the cross compiler if missing, build the plug-in: build/win32/VelkCursorwake.dll
# make test    install what is missing, build everything, run every test (native and under Wine)
# make demo    build everything, then show the plug-in at work in the development host (scripts/demo)
# make dist    build, then pack build/dist/Cursorwake-<version>.zip (scripts/dist)
# make bench   the per-event and per-tick cost of the decisions, natively and optimised, and the
#              wheel gesture's calls per hour on synthetic wheel traces
# make measure the DLL's size and imports, and its load time under Wine (scripts/measure-dll)
.PHONY: all build everything test demo dist bench measure clean

WIN32_DIR := build/win32
NATIVE_DIR := build/native
JOBS := $(shell nproc 2>/dev/null || echo 2)

all: build

WIN32_CONFIGURE := cmake -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

# The plug-in alone: neither GoogleTest nor Wine. A build folder set up for the tests stays so.
build:
	@scripts/bootstrap build
	@test -f $(WIN32_DIR)/CMakeCache.txt || $(WIN32_CONFIGURE) -DCURSORWAKE_TESTS=OFF >/dev/null
	@cmake --build $(WIN32_DIR) -j $(JOBS) --target VelkCursorwake

# The plug-in with the stand-in hosts and the Wine tests.
everything:
	@scripts/bootstrap all
	@$(WIN32_CONFIGURE) -DCURSORWAKE_TESTS=ON >/dev/null
	@cmake --build $(WIN32_DIR) -j $(JOBS)

test: everything
	@cmake -S . -B $(NATIVE_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE_DIR) -j $(JOBS)
	@scripts/run-tests

demo: everything
	@scripts/demo $(WIN32_DIR)

dist: build
	@scripts/bootstrap dist
	@scripts/dist $(WIN32_DIR)

bench:
	@scripts/bootstrap all
	@cmake -S . -B build/bench -DCURSORWAKE_BENCH=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/bench -j $(JOBS)
	@build/bench/tools/bench/cursorwake_bench
	@build/bench/tools/bench/cursorwake_wheel_replay

measure: everything
	@scripts/measure-dll $(WIN32_DIR)

clean:
	rm -rf build
