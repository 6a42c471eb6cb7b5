# SPDX-License-Identifier: MIT
# make run      install what is missing, build, start the game
# make test     the same, then every test
# make install  build, then install under PREFIX, stripped (DESTDIR works as usual)
# make package  a Debian package in the build folder, built in a tree of its own
#               with Debian's compiler flags
# make windows  the Windows setup and portable zip, cross-built (windows/README.md)
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_WINDOWS ?= build-windows

# Debian 12 packages the build, the tests, the smoke test and the packaging need.
PACKAGES := cmake make g++ pkg-config \
	qt6-base-dev qt6-multimedia-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins \
	gstreamer1.0-plugins-base libgl-dev \
	libgtest-dev libbenchmark-dev \
	fonts-ipafont-mincho \
	xvfb xauth xdotool x11-utils \
	desktop-file-utils appstream dpkg-dev file lintian man-db
# CI adds its own (the sanitizer and fuzzing runs need clang).
EXTRA_PACKAGES ?=

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps configure build run test install package host-render windows windows-test clean

all: build

deps:
	@missing=""; \
	for package in $(PACKAGES) $(EXTRA_PACKAGES); do \
		dpkg -s $$package >/dev/null 2>&1 || missing="$$missing $$package"; \
	done; \
	if [ -n "$$missing" ]; then \
		echo "Installing:$$missing"; \
		$(SUDO) apt-get -o DPkg::Lock::Timeout=600 update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get -o DPkg::Lock::Timeout=600 \
			install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/vellumark

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

package: deps
	install/build-package.sh $(BUILD)/package $(BUILD) $(JOBS)

# The picture renderer runs on the build machine: the native build makes it.
host-render: configure
	cmake --build $(BUILD) -j $(JOBS) --target vellumark_render
windows: host-render
	JOBS=$(JOBS) bash windows/build.sh $(BUILD) $(BUILD_WINDOWS)
windows-test: host-render
	JOBS=$(JOBS) bash windows/build.sh $(BUILD) $(BUILD_WINDOWS) --test

clean:
	rm -rf $(BUILD) $(BUILD_WINDOWS)
