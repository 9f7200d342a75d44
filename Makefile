# Quick start: `make run` opens the window with the example file, `make test` runs every test.
BUILD       ?= build
CMAKE_FLAGS ?=
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE     ?= examples/alpine-hike.gpx
WINDOWS_BUILD ?= build-windows

.PHONY: all deps configure build test run convert bench package install clean windows-deps windows windows-test

all: build

deps:
	@./scripts/install-deps.sh

configure:
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: deps configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD)/src/app/tarvola $(EXAMPLE)

convert: build
	@$(BUILD)/src/cli/tarvola-convert --info $(EXAMPLE)

bench: build
	@./bench/setup.sh
	@cmake -S . -B $(BUILD) >/dev/null && cmake --build $(BUILD) -j $(JOBS)
	@./bench/run.sh $(BUILD)

# $(BUILD)/tarvola_<version>_<arch>.deb; install it with apt-get install ./$(BUILD)/tarvola_*.deb
package: build
	@cd $(BUILD) && cpack -G DEB

# PREFIX=/some/where installs there (default: the configured prefix, /usr/local).
install: build
	@cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# The converter and the core tests for Windows, cross-built with MinGW-w64 and run under Wine.
windows-deps:
	@./scripts/install-windows-deps.sh

windows: windows-deps
	@cmake -S . -B $(WINDOWS_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
	  -DTARVOLA_BUILD_GUI=OFF -DTARVOLA_LINUX_CONVERT=$(abspath $(BUILD))/src/cli/tarvola-convert \
	  $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# Also builds the Linux converter, which the Windows one must match byte for byte.
windows-test: windows deps configure
	@cmake --build $(BUILD) -j $(JOBS) --target tarvola-convert
	@./scripts/wine-test.sh $(WINDOWS_BUILD)

clean:
	@rm -rf $(BUILD) $(WINDOWS_BUILD)
