# Everything a fresh Debian 12 machine needs to build, test and run Vigilon.
# The one list of Debian packages the project uses:
#   build: compiler, CMake, Ninja, GoogleTest/GoogleMock
#   tests: iproute2 (private network namespaces), python3-aiosmtpd (a real SMTP peer)
PACKAGES := g++ cmake ninja-build libgtest-dev libgmock-dev iproute2 python3-aiosmtpd

BUILD_DIR ?= build
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: deps build test bench run clean

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja
	cmake --build $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300

# Measurements for a person to read (root: they run in network namespaces).
bench: build
	$(BUILD_DIR)/bench/probe_flood_bench

run: build
	@echo "Vigilon's window is not built yet: there is nothing to start." >&2
	@exit 1

clean:
	rm -rf $(BUILD_DIR)
