# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Google Benchmarks, then the real program beside vnstatd (root only; BENCH_SECONDS=120).
BENCH_SECONDS ?= 120
bench: build
	@$(BUILD)/bench/kestrova_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@if [ -x $(BUILD)/bench/kestrova_window_bench ]; then $(BUILD)/bench/kestrova_window_bench \
		--benchmark_repetitions=5 --benchmark_report_aggregates_only=true; fi
	@bash bench/side_by_side/run.sh $(BUILD) $(BENCH_SECONDS)

clean:
	rm -rf $(BUILD)
