# SPDX-License-Identifier: MIT
# The two commands of the README: `make run` and `make test`.
# Each installs what is missing, configures and builds into build/, then runs or tests.

BUILD_DIR := build
JOBS      := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run-demo.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@bash bench/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
