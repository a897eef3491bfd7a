# The two commands of the README, and a few conveniences. CMake does the real work.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DKOLMARIS_WERROR=ON
endif

.PHONY: all deps configure build test run bench screenshot clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@$(BUILD_DIR)/src/app/Davudeviredidara

bench: build
	@$(BUILD_DIR)/bench/kolmaris_bench

clean:
	@rm -rf $(BUILD_DIR)
