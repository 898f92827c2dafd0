# Folioneer: the two set-up commands are `make run` and `make test`.
PREFIX ?= $(HOME)/Folioneer
BUILD_DIR ?= build
# Where `make run` puts the picture of the first window when there is no display.
SCREENSHOT ?= $(abspath $(BUILD_DIR))/first-window.png
FUZZ_SECONDS ?= 600
# The seeds make fuzz explores from: own (the committed inputs), shared (the shared corpus) or both.
FUZZ_SEEDS ?= both
WERROR ?= $(or $(FOLIONEER_WERROR),OFF)
JOBS ?= $(shell nproc)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release -DFOLIONEER_WERROR=$(WERROR)

.PHONY: run test check deps test-deps deb-deps configure build bench fuzz reliability package deb screenshots format format-check clean

run: deps build
	scripts/run-program.sh "$(BUILD_DIR)/program" "$(PREFIX)" "$(SCREENSHOT)"

test: test-deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j 1 --timeout 900

# The quick tier: unit and widget tests only, two at a time; builds only what it runs.
check: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target folioneer_check_tests
	cd $(BUILD_DIR) && ctest --output-on-failure -j 2 -L '^unit$$' --timeout 300

deps:
	scripts/install-deps.sh

test-deps:
	scripts/install-deps.sh --test

deb-deps:
	scripts/install-deps.sh --deb

# A build folder made earlier keeps its settings, except the warnings-as-errors switch, which
# follows WERROR every time (so CI gets -Werror even in a reused folder).
configure:
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS); \
	else cmake -S . -B $(BUILD_DIR) -DFOLIONEER_WERROR=$(WERROR) >/dev/null; fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target folioneer_program

# Runs every benchmark and the comparisons with other programs, and writes docs/performance.md.
bench: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target folioneer_benchmarks
	scripts/make-performance-report.sh "$(BUILD_DIR)"

fuzz: test-deps
	scripts/run-fuzzers.sh --seeds $(FUZZ_SEEDS) $(FUZZ_SECONDS)

# Fuzzing, fault-injection and bad-input results of one run in docs/reliability.md. It fuzzes
# each target 2400 s from each of three seed sets unless FUZZ_SECONDS is given;
# ROUNDTRIP_FUZZ_SECONDS gives the round-trip target other seconds per seed set; FUZZ_AT_ONCE=1
# runs the three seed sets at the same time.
RELIABILITY_FUZZ_SECONDS = $(if $(filter file,$(origin FUZZ_SECONDS)),2400,$(FUZZ_SECONDS))
reliability: test-deps configure
	BUILD_DIR=$(BUILD_DIR) JOBS=$(JOBS) ROUNDTRIP_FUZZ_SECONDS=$(ROUNDTRIP_FUZZ_SECONDS) \
	  FUZZ_AT_ONCE=$(FUZZ_AT_ONCE) scripts/make-reliability-report.sh $(RELIABILITY_FUZZ_SECONDS)

# The archive holds the program folder only, so only the program needs building.
package: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target folioneer_program
	cd $(BUILD_DIR) && cpack -G TGZ

# The Debian package, build/folioneer_<version>-1_<arch>.deb: the system layout under /usr (its
# own install component) with the desktop entry, icons, AppStream metadata and manual page.
deb: deb-deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target folioneer folioneer_system_docs
	cd $(BUILD_DIR) && cpack -G DEB

# Pictures of the real windows for the user manual and the README, into docs/images.
screenshots: deps configure
	scripts/make-screenshots.sh "$(BUILD_DIR)"

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD_DIR)
