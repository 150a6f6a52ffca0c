# Front door: `make run` and `make test` work on a fresh Debian bookworm machine as root.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := data_file directory frame unit engine
GENERATOR  := -G Ninja

PACKAGES := cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev \
            qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev \
            xvfb xauth

.PHONY: all deps build test test-asan run screenshots bench package fuzz lint clean

all: build

# apt-get update only when something is missing.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DVESKAR_SANITIZE=ON

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure

# The demo folder is the program's working folder: Veskar.cfg, Veskar.dat and
# CorvaneVeskar.ini land there, never in the source tree.
# The program in build/demo, with the simulated unit on COM1
# (make run FAULT=silent: a unit that misbehaves, see veskar-unit-sim --help).
# Only the three programs are built: the tests are for make test.
run: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) --target veskar veskar-cli veskar-unit-sim
	scripts/run-demo.sh $(BUILD) $(FAULT)

# The summary's build and draw time, then transfers against the simulated unit
# at wire speed (about two minutes).
bench: build
	cmake --build $(BUILD) --target summary-bench transfer-bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/bench/summary-bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/bench/transfer-bench

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/src/app/veskar-screenshots $(BUILD)/screenshots

# Each fuzz target for FUZZ_SECONDS (default 60), built with clang, libFuzzer
# and the sanitizers in build-fuzz/; prints executions and coverage per target.
fuzz: deps
	@dpkg-query -W -f='$${Status}' clang 2>/dev/null | grep -q 'install ok installed' || \
	  (apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends clang)
	cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_COMPILER=clang++ -DVESKAR_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# clang-tidy with .clang-tidy over every source file of src/ and tests/.
lint: build
	@command -v run-clang-tidy >/dev/null || \
	  (apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends clang-tidy)
	run-clang-tidy -quiet -p $(BUILD) -j $$(nproc) "$(CURDIR)/(src|tests)/"

# A Debian package in build/: veskar_<version>_<arch>.deb.
package: build
	@dpkg-query -W -f='$${Status}' dpkg-dev 2>/dev/null | grep -q 'install ok installed' || \
	  (apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends dpkg-dev)
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
