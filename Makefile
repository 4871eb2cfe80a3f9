# Front door: every target does its own set-up on a fresh Debian machine.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local
DEBIAN13_TARGETS ?= test
# Builds run make of their own, which must not join this one's job server.
CMAKE = env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) CTEST_PARALLEL_LEVEL=$(JOBS) cmake

.PHONY: all deps build run test sanitize fuzz lint install package debian-check reproducible \
	reproducible-windows screenshots bench format debian13 windows-qt windows windows-test release \
	release-test clean

all: build

# What the build needs, and what the steps named in STEPS need (tools/setup.sh).
deps:
	@tools/setup.sh $(STEPS)

build: deps
	@cmake -S . -B $(BUILD_DIR) -Wno-dev >/dev/null
	@$(CMAKE) --build $(BUILD_DIR)

run:
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    tools/setup.sh test >&2; \
	    echo "Kolmira needs a graphical display, and none was found; try: xvfb-run make run" >&2; \
	    exit 1; \
	fi
	@$(MAKE) --no-print-directory build
	@kolmira="$$(realpath -m -- "$(BUILD_DIR)")/kolmira" && cd examples && "$$kolmira"

# The accessibility tests also need a private X server, D-Bus and the Orca
# screen reader, and the checks of the manual pages, the desktop entry and the
# metainfo Debian's tools; where those cannot be installed they skip and say so.
test: build
	@tools/setup.sh test || \
	    echo "Could not install the accessibility tests' and file checks' packages; they will be skipped." >&2
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Build variants of their own, in build-<name>/, from CMakePresets.json.
sanitize: deps
	@$(CMAKE) --workflow --preset sanitize

# clazy checks src/ as it compiles; clang-tidy (.clang-tidy) reads what it
# compiled, each of src/'s files named by its path; none found is a failure.
lint: deps
	@tools/setup.sh lint
	@$(CMAKE) --workflow --preset lint
	@files=$$(find src -name '*.cpp' | LC_ALL=C sort) && [ -n "$$files" ] || \
	    { echo "lint: no source file found in src/" >&2; exit 1; }; \
	printf '%s\n' $$files | xargs -P $(JOBS) -n 4 clang-tidy -p build-lint --quiet >build-lint/clang-tidy.log 2>&1 || \
	    { grep -v '^[0-9]* warnings* generated' build-lint/clang-tidy.log >&2; exit 1; }; \
	echo "lint: no findings from clazy or clang-tidy in the $$(echo $$files | wc -w) files of src/"

# A failing input is written into fuzz/corpus/, which make test replays.
fuzz: deps
	@tools/setup.sh fuzz
	@$(CMAKE) --preset fuzz -DKOLMIRA_FUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	@$(CMAKE) --build --preset fuzz
	@ctest --preset fuzz -j $(JOBS)

# Below DESTDIR when that is set, as CMake's install does.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

screenshots: build
	@BUILD_DIR=$(BUILD_DIR) tools/screenshots.sh

bench: build
	@BUILD_DIR=$(BUILD_DIR) bench/run.sh

format:
	@tools/setup.sh format
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

# build/release/<version>/ and the apt repository build/release/apt/, signed
# with the keys HACKING.md names (or throwaway ones); release-test checks them.
release:
	@tools/release.sh

release-test:
	@tests/release/release_test.sh

# Kolmira for Windows, cross-built: build-windows/ gets the zip and the setup
# program; windows-test runs the tests and the setup program under Wine.
windows:
	@tools/windows/build.sh

# Qt for Windows alone, which make windows builds first when it is missing.
windows-qt:
	@tools/windows/qt.sh

windows-test:
	@tests/windows/windows_test.sh

# The source packages and, built from them by sbuild in clean chroots, the
# binary packages for each Debian of tools/debian/suites, in
# $(BUILD_DIR)/debian/, each judged by its release's lintian, autopkgtest and
# piuparts; see debian/.
package:
	@BUILD_DIR=$(BUILD_DIR) tools/debian/package.sh

# After make package: blhc and hardening-check, beyond sbuild's checks.
debian-check:
	@BUILD_DIR=$(BUILD_DIR) tests/debian/check.sh

# Built a second time by reprotest, varied, the result must be the same: the
# Debian package (after make package), and Kolmira for Windows.
reproducible:
	@BUILD_DIR=$(BUILD_DIR) tests/reproducible.sh

reproducible-windows:
	@BUILD_DIR=$(BUILD_DIR) tests/reproducible.sh windows

# make test (or the DEBIAN13_TARGETS) on a fresh Debian 13 root, as a new
# user of it, on a clone of the last commit (needs root).
debian13:
	@DEBIAN13_TARGETS="$(DEBIAN13_TARGETS)" tests/debian/debian13.sh

clean:
	rm -rf $(BUILD_DIR) build-*
