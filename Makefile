# The commands a developer types: run, test, bench, fuzz, screenshots, soak, install, package,
# format. Each installs what is missing first.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build run test asan-test soak bench fuzz-build fuzz fuzz-pipeline fuzz-png screenshots \
	guide-images install package format format-check clean windows windows-test windows-package

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

# Everything and every test again, GUI tests included, under AddressSanitizer (leaks included)
# and UndefinedBehaviorSanitizer; any report fails the run. No leak is suppressed: the whole suite
# runs clean, Qt's own libraries included.
ASAN_ENV = QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
asan-test: deps
	cmake -S . -B build-asan -DVELMORA_SANITIZE=ON -DVELMORA_RASTER_ONLY=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && $(ASAN_ENV) ctest --output-on-failure -j $(JOBS)

# The soak run: 500 scripted fish workspaces and 200 rotation and accessory windows, offscreen;
# fails when the resident memory at the end is more than 5% above its figure after 50 cycles.
# SOAK_FISH_CYCLES and SOAK_DATA_CYCLES shorten it for a quick try.
soak: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/soak/velmora_soak

# Repetitions of all benchmarks are interleaved at random, so a drift in the machine's speed
# during the run falls on us and the peers alike instead of on whichever runs at that moment.
# The windows' benchmarks run in a process of their own, after the first open of a large picture
# has been timed in a fresh one.
BENCH_FLAGS = --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
	--benchmark_enable_random_interleaving=true --benchmark_out_format=json
bench:
	@bash scripts/install-deps.sh bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target velmora_bench velmora_gui_bench
	build-bench/bench/velmora_bench $(BENCH_FLAGS) --benchmark_out=build-bench/bench.json
	QT_QPA_PLATFORM=offscreen build-bench/bench/velmora_gui_bench --benchmark_filter=BM_FirstOpen \
		--benchmark_out_format=json --benchmark_out=build-bench/bench-first-open.json
	QT_QPA_PLATFORM=offscreen build-bench/bench/velmora_gui_bench --benchmark_filter=-BM_FirstOpen \
		$(BENCH_FLAGS) --benchmark_out=build-bench/bench-windows.json
	/usr/bin/python3 scripts/bench_table.py build-bench/bench.json build-bench/bench-windows.json
	/usr/bin/python3 scripts/plot_bench.py build-bench/bench.json build-bench/bench-windows.json \
		build-bench/bench.png

# FUZZ_TARGET picks the fuzzer: fuzz_bmp_reader (the reader alone), fuzz_png_reader (the PNG
# reader alone) or fuzz_pipeline (the reader, then every algorithm a picture goes through; its
# inputs start with 12 bytes of choices).
FUZZ_SECONDS ?= 60
FUZZ_TARGET ?= fuzz_bmp_reader
FUZZ_MAX_LEN_fuzz_bmp_reader = 65536
FUZZ_MAX_LEN_fuzz_pipeline = 16384
FUZZ_MAX_LEN_fuzz_png_reader = 65536
FUZZ_SEEDS_fuzz_bmp_reader = fuzz/corpus
FUZZ_SEEDS_fuzz_pipeline = fuzz/corpus-pipeline
FUZZ_SEEDS_fuzz_png_reader = fuzz/corpus-png
fuzz-build: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS)

fuzz: fuzz-build
	mkdir -p build-fuzz/corpus-$(FUZZ_TARGET) && cp -n $(FUZZ_SEEDS_$(FUZZ_TARGET))/* build-fuzz/corpus-$(FUZZ_TARGET)/ 2>/dev/null || true
	build-fuzz/fuzz/$(FUZZ_TARGET) -max_total_time=$(FUZZ_SECONDS) -max_len=$(FUZZ_MAX_LEN_$(FUZZ_TARGET)) \
		-artifact_prefix=build-fuzz/$(FUZZ_TARGET)- build-fuzz/corpus-$(FUZZ_TARGET)

fuzz-pipeline:
	$(MAKE) fuzz FUZZ_TARGET=fuzz_pipeline

fuzz-png:
	$(MAKE) fuzz FUZZ_TARGET=fuzz_png_reader

screenshots: build
	mkdir -p $(BUILD_DIR)/screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/screenshots/velmora_screenshots $(BUILD_DIR)/screenshots

# The user's guide's pictures, rendered from the sample pictures (VELMORA_SAMPLES, by default
# ../shared/samples) into docs/guide, with an 8-bit palette where that looks the same; the guide's
# test finds each one it names there.
guide-images: build
	rm -f docs/guide/*.png
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/tools/screenshots/guide/velmora_guide_images docs/guide
	/usr/bin/python3 scripts/guide_palette.py docs/guide/*.png

# `make install PREFIX=/usr DESTDIR=/tmp/stage` installs under DESTDIR/PREFIX; the programs
# read nothing from the source or build folder afterwards.
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

# The Debian package, $(BUILD_DIR)/package/velmora_VERSION_ARCH.deb, judged by lintian: an error
# or a warning fails the target.
package: build
	rm -f $(BUILD_DIR)/package/*.deb
	cd $(BUILD_DIR) && cpack --config CPackConfig.cmake
	lintian --fail-on error,warning $(BUILD_DIR)/package/*.deb

# velmora-batch for 64-bit Windows, cross-built with MinGW-w64 into build-windows/ (statically
# linked velmora-batch.exe and the raster, algorithm and batch test suites); run under Wine.
WINDOWS_DIR ?= build-windows
WINE_ENV = WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
windows:
	@bash scripts/install-deps.sh windows
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix.cmake \
		-DVELMORA_BATCH_ONLY=ON -DVELMORA_PNG=OFF $(CMAKE_FLAGS)
	cmake --build $(WINDOWS_DIR) -j $(JOBS)

# The suites under Wine with the count of tests run, passed and skipped, then velmora-batch.exe
# compared byte for byte with the Linux velmora-batch (built in $(BUILD_DIR)).
windows-test: windows deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target velmora-batch
	bash scripts/windows-test.sh $(WINDOWS_DIR) $(BUILD_DIR)

# The zip $(WINDOWS_DIR)/package/velmora-batch-VERSION-windows-x64.zip: velmora-batch.exe, its
# manual as text (written by the program under Wine) and the copyright notice.
windows-package: windows
	rm -f $(WINDOWS_DIR)/package/*.zip
	$(WINE_ENV) cmake --build $(WINDOWS_DIR) --target velmora_windows_docs
	cd $(WINDOWS_DIR) && cpack --config CPackConfig.cmake

format: deps
	clang-format -i $$(git ls-files '*.cpp' '*.h')

format-check: deps
	@bash scripts/check-format.sh

clean:
	rm -rf build build-asan build-bench build-fuzz build-ci build-windows
