# Quick start: `make run` opens the window with the example file, `make test` runs every test.
BUILD       ?= build
CMAKE_FLAGS ?=
JOBS        ?= $(shell nproc 2>/dev/null || echo 2)
EXAMPLE     ?= examples/alpine-hike.gpx

.PHONY: all deps configure build test run convert bench clean

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

clean:
	@rm -rf $(BUILD)
