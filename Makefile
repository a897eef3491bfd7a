# The two commands of the README, and a few conveniences. CMake does the real work.
BUILD_DIR ?= build
PACKAGE_DIR ?= build-package
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DKOLMARIS_WERROR=ON
endif

.PHONY: all deps configure build test test-sanitize fuzz format-check run bench figures package clean

all: build

deps:
	@bash scripts/install-deps.sh

# Configures only a new build folder, or one last configured with other flags: `cmake --build`
# configures again by itself whenever a CMakeLists.txt changes.
CONFIGURE_ARGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
configure: deps
	@if [ ! -f $(BUILD_DIR)/CMakeCache.txt ] || \
	    [ "$$(cat $(BUILD_DIR)/.configure-args 2>/dev/null)" != "$(CONFIGURE_ARGS)" ]; then \
		cmake -S . -B $(BUILD_DIR) $(CONFIGURE_ARGS) >/dev/null && \
		echo "$(CONFIGURE_ARGS)" > $(BUILD_DIR)/.configure-args; \
	fi

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Every test again, under AddressSanitizer and UndefinedBehaviorSanitizer, leak checking on.
test-sanitize: deps
	@cmake --preset sanitize $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets, FUZZ_SECONDS each (20 by default).
fuzz: deps
	@bash scripts/run-fuzzers.sh

# Every tracked C++ source as .clang-format lays it out; the generated tables (.inc) excepted.
format-check: deps
	@git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

run: build
	@cmake --build $(BUILD_DIR) --target run

# Renders the README's pictures into docs/ again.
figures: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target figures

bench: build
	@$(BUILD_DIR)/bench/kolmaris_bench
	@$(BUILD_DIR)/bench/kolmaris_reader_bench
	@$(BUILD_DIR)/bench/kolmaris_writer_bench
	@$(BUILD_DIR)/bench/kolmaris_sizing_bench
	@$(BUILD_DIR)/bench/kolmaris_fittings_bench
	@$(BUILD_DIR)/bench/kolmaris_check_bench
	@$(BUILD_DIR)/bench/kolmaris_report_bench
	@$(BUILD_DIR)/bench/kolmaris_click_bench

# The Debian package, in a build of its own with Debian's hardening flags and without the tests:
# $(PACKAGE_DIR)/kolmaris_<version>_<arch>.deb
package:
	@bash scripts/install-deps.sh package
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all && \
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DKOLMARIS_BUILD_TESTS=OFF -DKOLMARIS_BUILD_BENCH=OFF \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@cd $(PACKAGE_DIR) && cpack -G DEB

clean:
	@rm -rf $(BUILD_DIR) $(PACKAGE_DIR)
