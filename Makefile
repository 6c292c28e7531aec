# Morvanta: the commands of the README. Every target installs what is
# missing first (scripts/install-deps does nothing when all is present).
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
ARGS       ?=
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test sanitize bench fuzz fuzz-ci render install clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The show runs in the folder that holds morvanta.dat and morvanta.xm.
run: build
	cd $(BUILD)/data && ../bin/morvanta $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DMORVANTA_SANITIZE=ON -DMORVANTA_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	@if [ -x scripts/sanitize-show ]; then scripts/sanitize-show $(ASAN_BUILD); fi

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_min_time=0.2; done; true

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANTA_FUZZ=ON -DMORVANTA_TESTS=OFF -DMORVANTA_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The whole show to a video, its music and a contact sheet, under build/render.
RENDER_DIR ?= $(BUILD)/render
render: build
	mkdir -p $(RENDER_DIR)
	@if command -v ffmpeg >/dev/null; then \
	  $(BUILD)/bin/morvanta-render --data $(BUILD)/data --seed 1 --mp4 $(RENDER_DIR)/morvanta.mp4 \
	    --wav $(RENDER_DIR)/morvanta.wav --sheet $(RENDER_DIR)/sheet.png; \
	else \
	  echo "ffmpeg is not installed: writing an uncompressed Y4M video instead, about 5 GB for the whole show"; \
	  echo "(apt-get install ffmpeg, or scripts/install-deps, and make render writes a far smaller MP4)"; \
	  $(BUILD)/bin/morvanta-render --data $(BUILD)/data --seed 1 --video $(RENDER_DIR)/morvanta.y4m \
	    --wav $(RENDER_DIR)/morvanta.wav --sheet $(RENDER_DIR)/sheet.png; \
	fi
	@echo "written: $(RENDER_DIR)"

# The programs into $(PREFIX)/bin, the default data into
# $(PREFIX)/share/morvanta, the man pages into $(PREFIX)/share/man/man1.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

fuzz-ci:
	$(MAKE) fuzz FUZZ_SECONDS=60

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
