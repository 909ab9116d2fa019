# make run   installs what is missing, builds and starts the editor
# make test  installs what is missing, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
		echo "make run: there is no display (DISPLAY is not set), so the editor cannot open its window."; \
		echo "Run it from a desktop session, or under Xvfb: xvfb-run make run"; \
		exit 1; \
	fi
	@$(BUILD)/src/app/kymeditor

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Medians of repeated runs; the editor's figures are measured offscreen.
bench: build
	@for b in $(BUILD)/bench/*_bench; do \
		QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=10 --benchmark_report_aggregates_only=true; \
	done

clean:
	rm -rf $(BUILD)
