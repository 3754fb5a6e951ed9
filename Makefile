# The two commands for a fresh machine: `make run` and `make test`.
.PHONY: setup build test run bench clean

setup:
	@tools/setup

build: setup
	@tools/build

test: build
	@tools/test

run: build
	@tools/run

# Benchmarks: an optimised build of its own (build/bench), every program of bench/ run in turn.
bench: setup
	@[ -f build/bench/CMakeCache.txt ] || cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@for b in build/bench/*_bench; do "$$b"; done

clean:
	rm -rf build
