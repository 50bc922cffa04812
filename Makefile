# Thin wrappers: install what is missing, configure, build, then run or test.
SANITIZE ?= 0
CTEST_FLAGS :=
ifeq ($(SANITIZE),1)
  BUILD_DIR ?= build-sanitize
  CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=Debug -DSONVELA_SANITIZE=ON
else ifeq ($(SANITIZE),thread)
  # ThreadSanitizer, on the tests where threads meet: MIDI input (alone and in the whole program: the
  # ProgramMidiIn tests), sends to the output from two threads (with the built-in synth's loader thread),
  # the tick timers, a call given up on, the real JACK ports, the timed outputs and their sender threads.
  # Not the synth's sound checks: they measure real-time audio, which the sanitizer slows too much on a
  # loaded machine.
  BUILD_DIR ?= build-tsan
  CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONVELA_SANITIZE_THREAD=ON
  CTEST_FLAGS := -R 'MidiIn|midi_in|PlatformMidiOut|QtTickTimers|AnswerWithin|jack_port|Timed'
  export TSAN_OPTIONS := suppressions=$(CURDIR)/tests/tsan.supp second_deadlock_stack=1
else
  BUILD_DIR ?= build
  CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=RelWithDebInfo
endif
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean format

all: build

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	bash scripts/run-demo.sh $(BUILD_DIR)

# A test that hangs fails after 5 minutes (unless it sets its own limit) instead of holding up the run.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 300 -j $(JOBS) $(CTEST_FLAGS)

bench:
	bash scripts/install-deps.sh --bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	bash bench/load_bench.sh build-bench
	bash bench/toolbox_bench.sh build-bench
	bash bench/play_bench.sh build-bench
	bash bench/views_bench.sh build-bench
	bash bench/midi_thru_bench.sh build-bench
	bash bench/window_bench.sh build-bench
	bash bench/sound_bench.sh build-bench

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf build build-sanitize build-tsan build-bench
