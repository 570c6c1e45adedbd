# SPDX-License-Identifier: MIT
# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures and builds into build/, then runs or tests.
# `make fuzz` and `make sanitize` build with clang into build-fuzz/ and build-asan/.
# `make package` and `make install` use a release build in build-package/.

BUILD_DIR    := build
FUZZ_DIR     := build-fuzz
ASAN_DIR     := build-asan
PACKAGE_DIR  := build-package
PREFIX       := /usr/local
FUZZ_SECONDS := 60
JOBS         := $(shell nproc 2>/dev/null || echo 2)

# Sanitizer reports stop the test with a stack; leaks inside system libraries
# that Qt loads are listed in the suppression file.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
                 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/fuzz/lsan.supp

CONFIGURE = cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
RUN_LOG   = $(BUILD_DIR)/make-run.log

.PHONY: all deps configure build run test fuzz sanitize bench package install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@$(CONFIGURE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the program is built; the packages' and the build's output go to the
# log, which is shown only when something fails.
run:
	@mkdir -p $(BUILD_DIR) && : > $(RUN_LOG)
	@VELMORA_DEPS_LOG=$(RUN_LOG) bash scripts/install-deps.sh
	@bash scripts/quietly.sh $(RUN_LOG) "Building velmora" \
		"$(CONFIGURE) && cmake --build $(BUILD_DIR) -j $(JOBS) --target velmora"
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

# Every test but the end-to-end and package ones, under AddressSanitizer and UBSan.
sanitize: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE 'e2e|package'

bench: build
	@bash bench/run.sh $(BUILD_DIR)

# The Debian package: build-package/velmora_<version>_<arch>.deb.
package: deps
	@bash scripts/build-release.sh $(PACKAGE_DIR) --deb

# The same release build, installed under PREFIX (DESTDIR is honoured).
install: deps
	@bash scripts/build-release.sh $(PACKAGE_DIR)
	@cmake --install $(PACKAGE_DIR) --prefix $(PREFIX) --strip

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(ASAN_DIR) $(PACKAGE_DIR)
