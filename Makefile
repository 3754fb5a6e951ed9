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

# Benchmarks: an optimised build of its own (build/bench), every program of bench/ run in turn.
bench: setup
	@[ -f build/bench/CMakeCache.txt ] || cmake --preset bench >/dev/null
	@cmake --build --preset bench
	@for b in build/bench/*_bench; do "$$b"; done

clean:
	rm -rf build
