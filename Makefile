# The commands a developer types: run, test, bench, fuzz, screenshots. Each installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test asan-test bench fuzz screenshots format clean

all: build

deps:
	@bash scripts/install-deps.sh

# Configured every time: cheap, and a configure that failed earlier is not mistaken for a build tree.
build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
		echo "No display found: start it under a virtual one with 'xvfb-run -a $(BUILD_DIR)/app/velmora'."; \
		exit 1; \
	fi
	$(BUILD_DIR)/app/velmora

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The raster core and its tests again, under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	cmake -S . -B build-asan -DVELMORA_SANITIZE=ON -DVELMORA_RASTER_ONLY=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target velmora_bench
	build-bench/bench/velmora_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS)
	mkdir -p build-fuzz/corpus && cp -n fuzz/corpus/* build-fuzz/corpus/ 2>/dev/null || true
	build-fuzz/fuzz/fuzz_bmp_reader -max_total_time=$(FUZZ_SECONDS) -max_len=65536 build-fuzz/corpus

screenshots: build
	mkdir -p $(BUILD_DIR)/screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tests/gui/velmora_screenshots $(BUILD_DIR)/screenshots

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-bench build-fuzz
