# make run  — installs what building and running need, builds the programs, makes demo A-scans and
#             opens them in Scanlet.
# make test — installs what the suite needs besides, builds everything and runs the whole suite.
# make deb  — builds the Debian package scanlet_<version>_<arch>.deb into build-deb/ and checks it.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR ?= $(CURDIR)/demo
DEMO_COUNT ?= 60

# Debian packages, by what needs them. Building and running:
RUN_PACKAGES := build-essential cmake qtbase5-dev qttools5-dev qttools5-dev-tools qttranslations5-l10n
# The test suite besides (pdftotext reads printed reports; the install test validates the desktop
# entry, the metadata and the manual pages; the About and the table are checked in DejaVu and in
# both Arial-metric families a desktop commonly has):
TEST_PACKAGES := xvfb xauth poppler-utils fonts-dejavu-core fonts-liberation2 fonts-urw-base35 \
                 desktop-file-utils appstream groff-base
# make fuzz (make sanitize builds with g++):
CLANG_PACKAGES := clang-14 libclang-rt-14-dev pkg-config
# make windows and make wintest: the cross compiler (its Qt is built from Debian's source package,
# hence dpkg-dev), the installer's maker, Wine for the tests.
WIN_PACKAGES := g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix dpkg-dev nsis wine wine64
# make deb: the packaging helpers and the checks of the package.
DEB_PACKAGES := debhelper fakeroot lintian appstream desktop-file-utils man-db

# Waits for apt's locks (another apt or the daily automatic update), saying what it waits for.
define install_missing
@sh tools/install-packages.sh $(1)
endef

.PHONY: run test build build-programs deps test-deps clang-deps win-deps deb-deps demo sanitize fuzz \
        windows wintest install deb clean

deps:
	$(call install_missing,$(RUN_PACKAGES))

test-deps: deps
	$(call install_missing,$(TEST_PACKAGES))

clang-deps: deps
	$(call install_missing,$(CLANG_PACKAGES))

win-deps: deps
	$(call install_missing,$(WIN_PACKAGES))

deb-deps: deps
	$(call install_missing,$(DEB_PACKAGES))

$(BUILD_DIR)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Everything, the tests and benchmarks included.
build: deps $(BUILD_DIR)/Makefile
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the programs: the window, the inspector and the demo card's writer.
PROGRAMS := scanlet scanlet-info scanlet-demogen
build-programs: deps $(BUILD_DIR)/Makefile
	cmake --build $(BUILD_DIR) -j $(JOBS) --target $(PROGRAMS)

demo: build-programs
	@if [ ! -f "$(DEMO_DIR)/1.jpg" ]; then $(BUILD_DIR)/bin/scanlet-demogen "$(DEMO_DIR)" $(DEMO_COUNT); fi

run: demo
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display found (DISPLAY and WAYLAND_DISPLAY are unset); Scanlet needs a desktop session." >&2; \
	  echo "The build is ready in $(BUILD_DIR)/bin; the demo A-scans are in $(DEMO_DIR)." >&2; \
	  exit 1; \
	fi
	"$(BUILD_DIR)/bin/scanlet" "$(DEMO_DIR)"

test: test-deps build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: test-deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSCANLET_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# A short libFuzzer run over the readers and decoders (FUZZ_SECONDS, default 60).
FUZZ_SECONDS ?= 60
fuzz: clang-deps
	$(MAKE) -C fuzz run SECONDS=$(FUZZ_SECONDS)

# The Windows package: dist/Scanlet-<version>-win64.zip and its installer, cross-built against a
# Qt made from Debian's sources. The first run builds that Qt into ~/.cache/scanlet (about an hour
# on two cores); later runs reuse it.
windows: win-deps
	tools/windows/package.sh

# The test programs built for Windows and run under Wine on a virtual display.
wintest: test-deps win-deps
	tools/windows/wintest.sh

install: build
	cmake --install $(BUILD_DIR)

# The Debian package, built with debhelper from a copy of the tree in DEB_DIR (dpkg-buildpackage
# writes beside the source, so the copy keeps the package and its by-products out of the tree),
# then checked: lintian fails on errors, the metadata and the desktop entry are validated.
# SCANLET_LANGUAGE=ru makes a Russian package. Install it with: apt install ./build-deb/scanlet_*.deb
DEB_DIR ?= build-deb
SCANLET_LANGUAGE ?= en
deb: deb-deps
	rm -rf "$(DEB_DIR)" && mkdir -p "$(DEB_DIR)/scanlet" "$(DEB_DIR)/check"
	tar -c --exclude-vcs --exclude='./build*' --exclude=./demo --exclude='./fuzz/corpus-work' \
	    --exclude='./fuzz/out' . | tar -x -C "$(DEB_DIR)/scanlet"
	cd "$(DEB_DIR)/scanlet" && DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" \
	    SCANLET_LANGUAGE=$(SCANLET_LANGUAGE) \
	    SCANLET_CMAKE_ARGS="$$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)" \
	    dpkg-buildpackage -b -us -uc
	lintian --fail-on error "$(DEB_DIR)"/scanlet_*.changes
	dpkg-deb -x "$(DEB_DIR)"/scanlet_*.deb "$(DEB_DIR)/check"
	appstreamcli validate --no-net "$(DEB_DIR)"/check/usr/share/metainfo/*.metainfo.xml
	desktop-file-validate "$(DEB_DIR)"/check/usr/share/applications/scanlet.desktop
	@echo "Built:" "$(DEB_DIR)"/scanlet_*.deb

clean:
	rm -rf $(BUILD_DIR) build-asan build-win dist $(DEB_DIR)
