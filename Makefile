# The two commands of the README: `make run` starts the program on sample settings files,
# `make test` builds everything and runs every test. Both install what they need first.

BUILD_PKGS := g++ cmake ninja-build make libgtest-dev googletest
GUI_PKGS   := qt6-base-dev libgl-dev fonts-liberation
BENCH_PKGS := libbenchmark-dev crudini
# The Windows build of the core and its tests, run under Wine.
WINDOWS_PKGS := g++-mingw-w64-x86-64-posix wine wine64

.PHONY: run test bench deps format

deps:
	@scripts/install-deps.sh $(BUILD_PKGS) $(GUI_PKGS)

run: deps
	cmake --preset dev
	cmake --build --preset dev --target quillon-tool
	WINEPREFIX="$$(scripts/demo-system.sh)" build/dev/src/quillon-tool

test: deps
	@scripts/install-deps.sh $(WINDOWS_PKGS)
	cmake --preset ci
	cmake --build --preset ci
	ctest --preset ci
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset mingw
	cmake --build --preset mingw
	scripts/test-windows.sh

bench: deps
	@scripts/install-deps.sh $(BENCH_PKGS)
	cmake --preset bench
	cmake --build --preset bench
	build/bench/bench/quillon-bench
	python3 bench/cli_vs_crudini.py build/bench/src/cli/quillon-settings

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i
