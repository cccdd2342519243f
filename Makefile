# The two commands of the README: `make run` starts the program on sample settings files,
# `make test` builds everything and runs every test. Both install what they need first, as do
# `make package` (the Debian package), `make windows` (the zip for Windows players) and
# `make screenshots` (the README's pictures).

# Other programs' records the search reads (JSON, YAML, Lutris' SQLite database), and the test
# that writes YAML as the launchers do, with PyYAML.
BUILD_PKGS := g++ cmake ninja-build make libgtest-dev googletest nlohmann-json3-dev libyaml-dev \
              libsqlite3-dev python3-yaml
GUI_PKGS   := qt6-base-dev libgl-dev fonts-liberation
BENCH_PKGS := libbenchmark-dev crudini time
# The Windows builds, run under Wine on a private X display: the core and its tests, and the
# program with its window tests, against a Qt built for Windows from Debian's source. Some run in
# the Japanese code page, whose locale is built from the sources in locales.
WINDOWS_PKGS := g++-mingw-w64-x86-64-posix wine wine64 xvfb x11-utils dpkg-dev python3 xz-utils \
                locales
# Building the Debian package (dpkg-shlibdeps, file) and checking its desktop entry and metadata.
PACKAGE_PKGS := dpkg-dev file desktop-file-utils appstream
SCREENSHOT_PKGS := xvfb
# Reading the program's windows as a screen reader does, through AT-SPI on a private display.
SCREEN_READER_PKGS := xvfb dbus at-spi2-core python3 python3-pyatspi
ICON_PKGS := librsvg2-bin
# The Ansible module, run for real on scratch System folders of this machine.
ANSIBLE_PKGS := ansible-core

# The zip for Windows players, build/windows/quillon-tool-<version>-windows-x64.zip, checked as
# a player gets it.
PACK_WINDOWS = cpack --preset windows && \
	scripts/check-windows-zip.sh "$$(ls -t build/windows/quillon-tool-*-windows-x64.zip | head -n 1)"

.PHONY: run test bench deps deps-windows windows format package screenshots icons

deps:
	@scripts/install-deps.sh $(BUILD_PKGS) $(GUI_PKGS)

run: deps
	cmake --preset dev
	cmake --build --preset dev --target quillon-tool
	WINEPREFIX="$$(scripts/demo-system.sh)" build/dev/src/quillon-tool

deps-windows: deps
	@scripts/install-deps.sh $(WINDOWS_PKGS)

test: deps-windows
	@scripts/install-deps.sh $(PACKAGE_PKGS) $(SCREEN_READER_PKGS) $(ANSIBLE_PKGS)
	cmake --preset ci
	cmake --build --preset ci
	ctest --preset ci
	@# Any generator builds the tree: CMake's default one, on a target whose output folder only
	@# Ninja would have made by itself.
	cmake -S . -B build/plain -G "Unix Makefiles"
	cmake --build build/plain --target game_stand_in_windows quillon_platform
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset mingw
	cmake --build --preset mingw
	scripts/test-windows.sh mingw
	scripts/configure-windows.sh
	cmake --build --preset windows
	scripts/test-windows.sh windows
	$(PACK_WINDOWS)

# The windows preset builds against a Qt for Windows that scripts/configure-windows.sh has
# built from Debian's source once (30 to 60 minutes on two cores) into a cache outside the work
# tree. `make windows` builds only the program, and packs it.
windows: deps-windows
	scripts/configure-windows.sh
	cmake --build --preset windows --target quillon-tool
	$(PACK_WINDOWS)

bench: deps
	@scripts/install-deps.sh $(BENCH_PKGS)
	cmake --preset bench
	cmake --build --preset bench
	build/bench/bench/quillon-bench
	python3 bench/cli_vs_crudini.py build/bench/src/cli/quillon-settings

package: deps
	@scripts/install-deps.sh $(PACKAGE_PKGS)
	cmake --preset package
	cmake --build --preset package
	cpack --preset package
	@echo "The package: $(CURDIR)/build/$$(cd build && ls -t quillon-tool_*.deb | head -n 1)"

screenshots: deps
	@scripts/install-deps.sh $(SCREENSHOT_PKGS)
	cmake --preset dev
	cmake --build --preset dev --target quillon-screenshots
	scripts/take-screenshots.sh build/dev/tests/gui/quillon-screenshots docs/screenshots

icons:
	@scripts/install-deps.sh $(ICON_PKGS)
	scripts/render-icons.sh

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i
