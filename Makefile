# The two commands of the README: `make run` starts the program on sample settings files,
# `make test` builds everything and runs every test. Both install what they need first, as do
# `make package` (the Debian package), `make windows` (the zip for Windows players),
# `make release` (everything a release publishes, with its checksums) and `make screenshots`
# (the README's pictures).

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
# Building the Debian package (dpkg-shlibdeps, file, its changelog from NEWS.md with python3) and
# checking it (lintian, man), its desktop entry and its metadata.
PACKAGE_PKGS := dpkg-dev file desktop-file-utils appstream python3 lintian man-db
# Making a release (git archive) and building it again under another clock (faketime) to compare
# the bytes, showing where they differ (diffoscope).
RELEASE_PKGS := git faketime diffoscope-minimal
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
# The Debian package, build/quillon-tool_<version>_amd64.deb, checked as Debian checks one. CPack
# gives the package's members the modes of the files it writes, which follow the umask.
PACK_DEBIAN = umask 022 && cpack --preset package && \
	scripts/check-package.sh "$$(ls -t build/quillon-tool_*.deb | head -n 1)"

# The program `make run` starts, built as it builds it; `make test` starts the same one the same
# way, on a private display, to see its main menu find the sample files.
RUN_PROGRAM := build/dev/src/app/quillon-tool
BUILD_RUN_PROGRAM = cmake --preset dev && cmake --build --preset dev --target quillon-tool

.PHONY: run test bench deps deps-windows windows format package release release-check \
	screenshots icons

deps:
	@scripts/install-deps.sh $(BUILD_PKGS) $(GUI_PKGS)

run: deps
	$(BUILD_RUN_PROGRAM)
	WINEPREFIX="$$(scripts/demo-system.sh)" $(RUN_PROGRAM)

deps-windows: deps
	@scripts/install-deps.sh $(WINDOWS_PKGS)

test: deps-windows
	@scripts/install-deps.sh $(PACKAGE_PKGS) $(SCREEN_READER_PKGS) $(ANSIBLE_PKGS) $(RELEASE_PKGS)
	@# The README's `make run`, as far as the main menu on the sample files: the screen reader
	@# run starts the program on a scratch copy of them and reads its windows.
	$(BUILD_RUN_PROGRAM)
	tests/gui/screen-reader-names.sh $(RUN_PROGRAM)
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
	@# The same commit gives the same bytes: the parts of a release other than the Windows
	@# program (built once, above), built twice and compared; their versions checked with the
	@# zip's.
	scripts/check-reproducible.sh "$$(ls -t build/windows/quillon-tool-*-windows-x64.zip | head -n 1)"

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
	$(PACK_DEBIAN)
	@echo "The package: $(CURDIR)/build/$$(cd build && ls -t quillon-tool_*.deb | head -n 1)"

# Everything a release publishes, from the commit checked out, into build/release: the zip, the
# Debian package, the source, the static quillon-settings, the release notes and SHA256SUMS.
release: deps-windows
	@scripts/install-deps.sh $(PACKAGE_PKGS) $(RELEASE_PKGS)
	scripts/release.sh

# The whole release built twice, from two clones of the commit, and the checksums compared.
release-check: deps-windows
	@scripts/install-deps.sh $(PACKAGE_PKGS) $(RELEASE_PKGS)
	scripts/release-check.sh

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
