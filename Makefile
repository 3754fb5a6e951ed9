# The two commands for a fresh machine: `make run` and `make test`.
.PHONY: setup build test run clean

setup:
	@tools/setup

build: setup
	@tools/build

test: build
	@tools/test

run: build
	@tools/run

clean:
	rm -rf build
