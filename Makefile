# The two commands of the README: `make run` and `make test`.
# The folders of the presets "release" and "asan" (CMakePresets.json).
BUILD := build
ASAN_BUILD := build-asan
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test test-release test-asan bench clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake --preset release >/dev/null

build: configure
	@cmake --build --preset release -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# The whole suite twice: as built for use, then under AddressSanitizer and
# UndefinedBehaviorSanitizer (CMakePresets.json, preset "asan").
test: test-release test-asan

test-release: build
	@ctest --preset release -j $(JOBS)

test-asan: setup
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# The Google Benchmarks, then the real program beside vnstatd (root only; BENCH_SECONDS=120).
BENCH_SECONDS ?= 120
bench: build
	@$(BUILD)/bench/kestrova_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@if [ -x $(BUILD)/bench/kestrova_window_bench ]; then $(BUILD)/bench/kestrova_window_bench \
		--benchmark_repetitions=5 --benchmark_report_aggregates_only=true; fi
	@bash bench/side_by_side/run.sh $(BUILD) $(BENCH_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
