# Two commands matter: `make run` and `make test`. Everything else is a step of them.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 600
JOBS       ?= $(shell nproc)
PREFIX     ?= /usr/local

.PHONY: all deps configure build content run install test test-fast test-asan soak bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

content: build
	@cmake --build $(BUILD) --target content -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

# The program in $(PREFIX)/bin, its files in $(PREFIX)/share/totem-riff, and the
# launcher, description and icons where desktops look (cmake/Install.cmake).
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

test: build
	@bash scripts/test.sh $(BUILD)
	@$(MAKE) --no-print-directory test-asan

test-fast: build
	@bash scripts/test.sh $(BUILD)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOTEM_SANITIZE=ON -DTOTEM_CONTENT=OFF -DTOTEM_RUNTIME_FOLDER=$(CURDIR)/$(BUILD)/game >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@bash scripts/test.sh $(ASAN_BUILD)

# Hours of play in one process, in the sanitizer build: every level twice,
# then SOAK_CYCLES (200) rounds of menu, map, level and results; prints its
# figures (see tests/soak/). `make test` runs a short form of it.
soak: build
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOTEM_SANITIZE=ON -DTOTEM_CONTENT=OFF -DTOTEM_RUNTIME_FOLDER=$(CURDIR)/$(BUILD)/game >/dev/null
	@cmake --build $(ASAN_BUILD) --target test_soak -j $(JOBS)
	@bash scripts/soak.sh $(ASAN_BUILD)

bench: build
	@bash scripts/bench.sh $(BUILD)

# Every fuzz target for FUZZ_SECONDS (default 600) each, built with clang and
# libFuzzer in its own tree; see fuzz/README.md.
fuzz:
	@bash scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOTEM_FUZZ=ON -DTOTEM_CONTENT=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzz_targets -j $(JOBS)
	@bash scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
