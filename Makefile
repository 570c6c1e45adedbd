# SPDX-License-Identifier: MIT
# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures and builds into build/, then runs or tests.
# `make fuzz` and `make sanitize` build with clang into build-fuzz/ and build-asan/.

BUILD_DIR    := build
FUZZ_DIR     := build-fuzz
ASAN_DIR     := build-asan
FUZZ_SECONDS := 60
JOBS         := $(shell nproc 2>/dev/null || echo 2)

# Sanitizer reports stop the test with a stack; leaks inside system libraries
# that Qt loads are listed in the suppression file.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp

.PHONY: all deps configure build run test fuzz sanitize bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run-demo.sh $(BUILD_DIR)

# The test suite, then a short fuzz run of the storage core.
test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=3

fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELMORA_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@bash tests/fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# Every test but the end-to-end ones, under AddressSanitizer and UBSan.
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE e2e

bench: build
	@bash bench/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(ASAN_DIR)
