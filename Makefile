# Everything a fresh Debian 12 machine needs to build, test and run Vigilon.
# The one list of Debian packages the project uses:
#   build: compiler, CMake, Ninja, ccache (a rebuild reuses what was compiled before),
#          GoogleTest/GoogleMock, wxWidgets 3.2 on GTK 3,
#          libcurl with OpenSSL (mail servers given as smtp:// or smtps:// URLs),
#          libssl-dev (the CA certificates parsed once into an OpenSSL store that
#          every delivery's TLS context shares),
#          libayatana-appindicator3 (the StatusNotifierItem tray) found through pkg-config,
#          librsvg2-bin (the icon's PNG sizes, drawn from its SVG at build time)
#   run:   ca-certificates (the system's CA store that mail servers' certificates are checked against),
#          xdg-utils (xdg-open: View Log and the web-site button open the desktop's own viewer)
#   install and package: libcap2-bin (setcap: pings without root), dpkg-dev (dpkg-shlibdeps:
#          the package's dependencies)
#   tests: iproute2 (private network namespaces), python3-aiosmtpd (a real SMTP peer),
#          openssl (a CA and server certificates made for each test run),
#          xvfb, openbox and trayer (a private display with a window manager and a tray),
#          xdotool (real clicks on the tray icon),
#          dbus-daemon (a private session bus), python3-dbus and python3-gi (the tests'
#          StatusNotifierWatcher and notification service on it),
#          desktop-file-utils, appstream, lintian and file (the installed files and the package checked),
#          prometheus (a real Prometheus server scrapes the metrics; its promtool checks them),
#          systemd (systemd-analyze verifies the service units and rates their sandbox)
#   bench: iputils-ping (what Ravelin's round trips and the headless watcher are measured against)
#   fuzz:  FUZZ_PACKAGES below, installed by make fuzz and make fuzz-ci only
#   lint:  LINT_PACKAGES below, installed by make lint only
#   Windows: WINDOWS_PACKAGES below, installed by make windows and make windows-deps only
PACKAGES := g++ cmake ninja-build ccache pkg-config libgtest-dev libgmock-dev libwxgtk3.2-dev libx11-dev \
            libcurl4-openssl-dev libssl-dev ca-certificates xdg-utils libayatana-appindicator3-dev \
            librsvg2-bin libcap2-bin dpkg-dev \
            iproute2 python3-aiosmtpd openssl xvfb openbox trayer xdotool dbus-daemon python3-dbus python3-gi \
            desktop-file-utils appstream lintian file iputils-ping prometheus systemd

BUILD_DIR ?= build
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: deps deps-all configure build test sanitize bench run install package clean \
        fuzz-deps fuzz-build fuzz fuzz-ci lint windows-deps windows-smoke windows test-windows

# Installs those of the packages given that are missing.
define install-missing
	@missing=""; \
	for p in $(1); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install-missing,$(PACKAGES))

# ccache when it is there (make deps installs it): a second build of the
# same sources, in this clone or another, compiles nothing again.
CCACHE := $(shell command -v ccache 2>/dev/null)

# CMAKE_FLAGS adds options to the configuration: CI passes -DVIGILON_WERROR=ON.
CMAKE_FLAGS ?=

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# run the same way; any report fails the test that caused it.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_DIR)
	cd $(SANITIZE_DIR) && ASAN_OPTIONS=abort_on_error=0:detect_leaks=1 \
	  LSAN_OPTIONS=suppressions=$(abspath tests/lsan.supp) \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure --timeout 600

# Runs every benchmark program (bench/run-all.sh) and fails when one does.
bench: build
	sh bench/run-all.sh $(BUILD_DIR)

# The program keeps "Vigilon.dat" and "Vigilon.log" in the folder --data-dir names:
# a folder of its own, ignored by git, keeps them out of the sources.
RUN_DIR ?= run

# Only what the window runs: the two programs and the help book. The tests
# and benchmarks are built by make test and make bench.
RUN_TARGETS := vigilon ravelin vigilon_help

run: configure
	@echo "Building vigilon and ravelin; the first time takes a few minutes."
	cmake --build $(BUILD_DIR) --target $(RUN_TARGETS)
	$(BUILD_DIR)/vigilon --data-dir $(RUN_DIR)

# Installs under PREFIX, below DESTDIR when given (staging for a package).
# Run as root, it gives the programs the cap_net_raw capability (pings
# without root) unless SETCAP=no; run as a user, it says what to run.
PREFIX ?= /usr/local
SETCAP ?= yes

install: build
	DESTDIR="$(DESTDIR)" VIGILON_SETCAP="$(SETCAP)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package, vigilon_<version>_<arch>.deb in the build folder;
# install it with: sudo apt install ./$(BUILD_DIR)/vigilon_*.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The fuzz targets (fuzz/) for the parsers of what comes from outside. libFuzzer
# is clang's, so they are built by clang in a folder of their own, apart from
# the gcc build, with AddressSanitizer and UndefinedBehaviorSanitizer:
#   clang-14 (the compiler), libclang-rt-14-dev (libFuzzer and the sanitizers' runtimes)
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev
FUZZ_DIR ?= build-fuzz
# Seconds each target runs: make fuzz searches long, CI briefly after the tests.
FUZZ_SECONDS ?= 300
FUZZ_CI_SECONDS ?= 20
# The build shares the machine with others; two compilers at most.
FUZZ_JOBS ?= 2

fuzz-deps: deps
	$(call install-missing,$(FUZZ_PACKAGES))

fuzz-build: fuzz-deps
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
	  $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(FUZZ_DIR) -j $(FUZZ_JOBS)

# A crash fails the run; its input stays in $(FUZZ_DIR)/crashes/TARGET/.
fuzz: fuzz-build
	sh fuzz/run-all.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-ci: fuzz-build
	sh fuzz/run-all.sh $(FUZZ_DIR) $(FUZZ_CI_SECONDS)

# The house style and the checks of .clang-tidy, clean: clang-format's check
# over every source, then clang-tidy over src/ with the build's compile
# commands (it needs the build's generated headers).
LINT_PACKAGES := clang-format clang-tidy
LINT_JOBS ?= 2

lint: build
	$(call install-missing,$(LINT_PACKAGES))
	sh scripts/lint.sh $(BUILD_DIR) $(LINT_JOBS)

# Windows 10 and 11: cross-built here with mingw-w64 and tested under Wine
# (docs/windows-build.md). wxWidgets, libpng, libcurl and GoogleTest are built
# for Windows from Debian's source packages into a cache outside the clone,
# once for each version of them and of the compiler:
#   g++-mingw-w64-x86-64-posix (the compiler, with the POSIX threads std::thread needs),
#   mingw-w64-tools (the mingw pkg-config and widl), libz-mingw-w64-dev (zlib, which
#   wx's PNG and zip reading need), nsis (the installer), wine and wine64 (runs the
#   Windows programs and tests), autoconf, automake and libtool (Debian's patches to
#   curl and libpng change their build files, which are made again as Debian does),
#   dpkg-dev (apt-get source unpacks with dpkg-source), cmake, ninja-build, xvfb (a
#   private display for the Windows windows under Wine)
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev nsis \
                    wine wine64 autoconf automake libtool dpkg-dev cmake ninja-build xvfb xdotool \
                    imagemagick openbox
WINDOWS_TOOLCHAIN := $(abspath cmake/mingw-w64-x86_64.cmake)
WINDOWS_DIR ?= build-windows
WINDOWS_SMOKE_DIR ?= build-windows-smoke

windows-deps:
	$(call install-missing,$(WINDOWS_PACKAGES))
	scripts/windows/deps.sh

# The toolchain and the cached libraries, proven on a small program of
# their own (scripts/windows/smoke): a wx dialog and a GoogleTest suite,
# run by ctest under Wine on a private display (:170 to :179).
windows-smoke: windows-deps
	cmake -S scripts/windows/smoke -B $(WINDOWS_SMOKE_DIR) -G Ninja \
	  -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(WINDOWS_SMOKE_DIR) -j 2
	scripts/windows/with-display.sh scripts/windows/ctest-under-wine.sh $(WINDOWS_SMOKE_DIR) \
	  --output-on-failure --timeout 120

# The programs, the installer and the suites built for Windows
# (docs/windows-build.md). Release: the installer strips the programs, so
# debug information would only slow the build.
windows: windows-deps
	cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(WINDOWS_TOOLCHAIN) $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
	cmake --build $(WINDOWS_DIR) -j 2

# The suites, run under Wine: those without a window first, then the
# installer, then, alone on a private display, the ones labelled "display"
# (Ravelin's window) and the window program (after the suites: Wine's
# server keeps the display it first met).
test-windows: windows
	scripts/windows/ctest-under-wine.sh $(WINDOWS_DIR) --output-on-failure --timeout 300 -j 2 -LE display
	tests/windows/installer-smoke.sh $(WINDOWS_DIR)
	scripts/windows/with-display.sh scripts/windows/ctest-under-wine.sh $(WINDOWS_DIR) \
	  --output-on-failure --timeout 300 -L display
	scripts/windows/with-display.sh tests/windows/vigilon-window-smoke.sh $(WINDOWS_DIR)

# Every package any target here installs, in one apt run: CI installs them
# first, since apt runs one install at a time and its suites then run side
# by side with the Windows libraries' build.
deps-all:
	$(call install-missing,$(PACKAGES) $(FUZZ_PACKAGES) $(LINT_PACKAGES) $(WINDOWS_PACKAGES))

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WINDOWS_DIR) $(WINDOWS_SMOKE_DIR)
