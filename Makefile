# The two commands for a fresh machine: `make run` and `make test`.
.PHONY: setup build test run dist bench clean

setup:
	@tools/setup

build: setup
	@tools/build

test: build
	@tools/test

run: build
	@tools/run

# The release zip a Windows user unpacks and runs (the build makes it last).
dist: build
	@echo "release: $$(ls build/win32/release/KEMBO-*.zip)"

# Benchmarks: optimised builds of their own (build/bench natively, build/bench-win32 for i686
# under Wine), every program of bench/ run in both, the times side by side.
bench: setup
	@tools/bench

clean:
	rm -rf build
