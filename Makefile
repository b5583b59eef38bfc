# make run  — installs what is missing, builds, makes demo A-scans and starts Scanlet.
# make test — installs what is missing, builds and runs the whole test suite.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
DEMO_DIR ?= $(CURDIR)/demo
DEMO_COUNT ?= 60

# Debian packages the build, the suite and the checks need (the suite checks the About and the
# table in DejaVu and in both Arial-metric families a desktop commonly has).
PACKAGES := build-essential cmake qtbase5-dev qttools5-dev qttools5-dev-tools \
            xvfb xauth poppler-utils \
            clang-14 libclang-rt-14-dev pkg-config g++-mingw-w64-x86-64 fonts-dejavu-core \
            qttranslations5-l10n desktop-file-utils fonts-liberation2 fonts-urw-base35

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build deps demo sanitize fuzz wincheck install clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD_DIR)/Makefile: CMakeLists.txt
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD_DIR)/Makefile
	cmake --build $(BUILD_DIR) -j $(JOBS)

demo: build
	@if [ ! -f "$(DEMO_DIR)/1.jpg" ]; then $(BUILD_DIR)/bin/scanlet-demogen "$(DEMO_DIR)" $(DEMO_COUNT); fi
	@cp -f $(BUILD_DIR)/bin/tarnwell.ico "$(DEMO_DIR)/" 2>/dev/null || true

run: demo
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display found (DISPLAY and WAYLAND_DISPLAY are unset); Scanlet needs a desktop session." >&2; \
	  echo "The build is ready in $(BUILD_DIR)/bin; the demo A-scans are in $(DEMO_DIR)." >&2; \
	  exit 1; \
	fi
	cd "$(DEMO_DIR)" && "$(CURDIR)/$(BUILD_DIR)/bin/scanlet"

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSCANLET_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# A short libFuzzer run over the readers and decoders (FUZZ_SECONDS, default 60).
FUZZ_SECONDS ?= 60
fuzz: deps
	$(MAKE) -C fuzz run SECONDS=$(FUZZ_SECONDS)

# The Win32 platform files must keep compiling: checked with the mingw-w64 cross compiler.
wincheck: deps
	$(MAKE) -C acquisition/platform -f wincheck.mk

install: build
	cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) build-asan
