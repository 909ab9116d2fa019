# make run        installs what is missing, builds and starts the editor
# make test       installs what is missing, builds and runs every test
# make demo       programs a simulated unit on a pseudo-terminal from the command line (no display)
# make bench      runs the benchmarks (medians of repeated runs)
# make fuzz       builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS
# make test-asan  builds and runs every test with AddressSanitizer and UndefinedBehaviorSanitizer
# make qt-windows  builds Qt for Windows from Debian's sources into a cache outside the checkout (once; long)
# make test-windows  cross-builds everything for Windows and tests it, the installed editor and the installer under Wine
# make package-windows  makes the NSIS installer $(WINDOWS_BUILD)/kym-config-tool-<version>-win64.exe
# make format-check  lists the tracked C++ files that .clang-format would change; fails if any
# make format     applies .clang-format to them
# make screenshots  remakes the user guide's pictures in docs/images (Xvfb: no display needed)
# make package    builds the Debian package $(BUILD)/kym-config-tool_<version>_amd64.deb (Release) and runs lintian
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
ASAN_BUILD ?= build-asan
PACKAGE_BUILD ?= build-package
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# The configurations are CMakePresets.json's; CMAKE_FLAGS adds to them (CI: warnings as errors).
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60
FUZZERS = read_configuration compile_configuration check_configuration
FORMAT_PATHS = $(foreach d,src tests bench fuzz tools,'$(d)/*.cpp' '$(d)/*.h')

.PHONY: qt-windows all deps configure build run test demo bench fuzz test-asan test-windows package-windows format-check format \
	package screenshots clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset dev -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
		echo "make run: there is no display (DISPLAY is not set), so the editor cannot open its window."; \
		echo "Run it from a desktop session, or under Xvfb: xvfb-run make run"; \
		exit 1; \
	fi
	@$(BUILD)/src/app/kymeditor

# ctest reports a GTEST_SKIP case as skipped (gtest_discover_tests sees to that); here a skip fails
# the run, since whatever a test needs belongs in scripts/install-deps.
test: build
	@cd $(BUILD) && { ctest --output-on-failure -j $(JOBS) -O ctest.log; status=$$?; \
		if grep -q '(Skipped)' ctest.log; then \
			echo "Skipped tests count as failures:"; grep '(Skipped)' ctest.log; exit 1; \
		fi; exit $$status; }

demo: build
	@scripts/demo $(BUILD)/src/cli/kymtool

# The editor's figures are measured offscreen.
bench: build
	@for b in $(BUILD)/bench/*_bench; do \
		QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=10 --benchmark_report_aggregates_only=true; \
	done

fuzz:
	@KYM_WITH_FUZZ=1 scripts/install-deps
	@cmake --preset fuzz -B $(FUZZ_BUILD) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	@for f in $(FUZZERS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$f && \
		$(FUZZ_BUILD)/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -dict=fuzz/configuration.dict \
			-artifact_prefix=$(FUZZ_BUILD)/$$f- $(FUZZ_BUILD)/corpus/$$f fuzz/seeds || exit 1; \
	done

# A fixed style, font and screen so that the pictures change only when the windows do.
screenshots: configure
	@KYM_WITH_SCREENSHOTS=1 scripts/install-deps
	@cmake --build $(BUILD) -j $(JOBS) --target kym_screenshots kymtool
	@mkdir -p docs/images
	@QT_QPA_PLATFORMTHEME= QT_SCALE_FACTOR=1 xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
		$(BUILD)/tools/screenshots/kym_screenshots docs/images $(BUILD)/src/cli/kymtool
	@optipng -quiet -o2 docs/images/*.png
	@ls -s docs/images

test-asan: deps
	@cmake --preset asan -B $(ASAN_BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

qt-windows:
	@KYM_WITH_WINDOWS=1 scripts/install-deps
	@JOBS=$(JOBS) scripts/build-qt-windows

# The Linux kymtool is the reference that kymtool.exe is compared with, and its simulator the unit
# the Windows programs send to; the Linux editor's Save As is what the Windows editor's must equal.
test-windows: build
	@KYM_WITH_WINDOWS=1 scripts/install-deps
	@WINDOWS_BUILD=$(WINDOWS_BUILD) JOBS=$(JOBS) scripts/test-windows $(BUILD)/src/cli/kymtool
	@$(MAKE) --no-print-directory package-windows
	@scripts/test-windows-installer $(WINDOWS_BUILD)/kym-config-tool-*-win64.exe $(BUILD)/src/app/kymeditor

# The installer from the Windows build's install rules (cmake/WindowsInstaller.cmake).
package-windows:
	@KYM_WITH_WINDOWS=1 scripts/install-deps
	@JOBS=$(JOBS) scripts/build-qt-windows >&2
	@KYM_QT_WINDOWS=$$(scripts/build-qt-windows) cmake --preset windows -B $(WINDOWS_BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@rm -f $(WINDOWS_BUILD)/kym-config-tool-*-win64.exe
	@cd $(WINDOWS_BUILD) && cpack -G NSIS >/dev/null
	@ls $(WINDOWS_BUILD)/kym-config-tool-*-win64.exe

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

# Debian's own hardening flags, with immediate binding; the tests and benchmarks are not built, they are not packaged.
package:
	@KYM_WITH_PACKAGE=1 scripts/install-deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow && \
	cmake --preset package -B $(PACKAGE_BUILD) \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	@rm -f $(PACKAGE_BUILD)/*.deb
	@cd $(PACKAGE_BUILD) && cpack -G DEB >/dev/null
	@mkdir -p $(BUILD) && rm -f $(BUILD)/kym-config-tool_*.deb && cp $(PACKAGE_BUILD)/*.deb $(BUILD)/
	@lintian --fail-on error $(BUILD)/kym-config-tool_*.deb
	@ls $(BUILD)/kym-config-tool_*.deb

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD) $(WINDOWS_BUILD)
