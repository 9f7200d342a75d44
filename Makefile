# Quick start: `make run` opens the window with the example file, `make test` runs every test.
BUILD       ?= build
CMAKE_FLAGS ?=
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE     ?= examples/alpine-hike.gpx
WINDOWS_BUILD ?= build-windows
# The window for Windows needs Qt built for it: about 50 minutes, once per machine.
WINDOWS_GUI ?= ON

.PHONY: all deps configure build test run convert bench package install clean windows-deps windows windows-test \
	windows-installer

all: build

# A build without the window (CMAKE_FLAGS=-DTARVOLA_BUILD_GUI=OFF) needs no Qt.
deps:
	@./scripts/install-deps.sh $(if $(findstring TARVOLA_BUILD_GUI=OFF,$(CMAKE_FLAGS)),--core)

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

# The programs and their tests for Windows, cross-built with MinGW-w64 and run under Wine.
# WINDOWS_GUI=OFF leaves the window out, and with it Qt for Windows.
windows-deps:
	@./scripts/install-windows-deps.sh
	@if [ "$(WINDOWS_GUI)" = ON ]; then ./scripts/install-windows-qt.sh; fi

# The Linux build draws the window's artwork (there is no Qt Svg for Windows) and writes the
# converter's output that the Windows one must match byte for byte.
windows: windows-deps deps configure
	@cmake --build $(BUILD) -j $(JOBS) --target tarvola-convert \
	  $(if $(filter ON,$(WINDOWS_GUI)),tarvola_render_icon)
	@cmake -S . -B $(WINDOWS_BUILD) -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
	  -DTARVOLA_BUILD_GUI=$(WINDOWS_GUI) -DTARVOLA_LINUX_CONVERT=$(abspath $(BUILD))/src/cli/tarvola-convert \
	  -DTARVOLA_HOST_RENDER_ICON=$(abspath $(BUILD))/packaging/linux/tarvola_render_icon \
	  $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

windows-test: windows
	@./scripts/wine-test.sh $(WINDOWS_BUILD)

# $(WINDOWS_BUILD)/tarvola-<version>-setup.exe, made with NSIS.
windows-installer: windows
	@cmake --build $(WINDOWS_BUILD) --target windows_installer

clean:
	@rm -rf $(BUILD) $(WINDOWS_BUILD)
