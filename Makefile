# make run        installs what is missing, builds and starts the editor
# make test       installs what is missing, builds and runs every test
# make demo       programs a simulated unit on a pseudo-terminal from the command line (no display)
# make bench      runs the benchmarks (medians of repeated runs)
# make fuzz       builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS
# make test-asan  builds and runs every test with AddressSanitizer and UndefinedBehaviorSanitizer
# make test-windows  cross-builds the core and kymtool.exe for Windows and tests them under Wine
# make format-check  lists the tracked C++ files that .clang-format would change; fails if any
# make format     applies .clang-format to them
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
FUZZ_SECONDS ?= 60
FUZZERS = read_configuration compile_configuration check_configuration
FORMAT_PATHS = $(foreach d,src tests bench fuzz,'$(d)/*.cpp' '$(d)/*.h')

.PHONY: all deps configure build run test demo bench fuzz test-asan test-windows format-check format clean

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

demo: build
	@scripts/demo $(BUILD)/src/cli/kymtool

# The editor's figures are measured offscreen.
bench: build
	@for b in $(BUILD)/bench/*_bench; do \
		QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=10 --benchmark_report_aggregates_only=true; \
	done

fuzz:
	@KYM_WITH_FUZZ=1 scripts/install-deps
	@cmake -S . -B $(FUZZ_BUILD) -DKYM_BUILD_FUZZ=ON -DKYM_BUILD_TESTS=OFF -DKYM_BUILD_BENCH=OFF \
		-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	@for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f && \
		$(FUZZ_BUILD)/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -dict=fuzz/configuration.dict \
			-artifact_prefix=$(FUZZ_BUILD)/$$f- $(FUZZ_BUILD)/corpus/$$f fuzz/seeds || exit 1; \
	done

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DKYM_SANITIZE=ON -DKYM_BUILD_BENCH=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The Linux kymtool is the reference that kymtool.exe is compared with.
test-windows: build
	@KYM_WITH_WINDOWS=1 scripts/install-deps
	@WINDOWS_BUILD=$(WINDOWS_BUILD) JOBS=$(JOBS) scripts/test-windows $(BUILD)/src/cli/kymtool

# An empty list would pass unchecked, so no tracked files (no git) is a failure.
format-check: deps
	@files=$$(git ls-files -- $(FORMAT_PATHS)) && [ -n "$$files" ] || \
		{ echo "make format-check: no tracked C++ files (is this a git checkout?)"; exit 1; }; \
	bad=""; for f in $$files; do \
		clang-format --dry-run -Werror "$$f" >/dev/null 2>&1 || bad="$$bad $$f"; \
	done; \
	if [ -n "$$bad" ]; then \
		echo "make format-check: not formatted as .clang-format says (make format applies it):"; \
		printf '  %s\n' $$bad; exit 1; \
	fi

format: deps
	@git ls-files -z -- $(FORMAT_PATHS) | xargs -0 -r clang-format -i

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD)
