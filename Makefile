# The two commands of the README. Each installs what is missing, configures and builds.
#   make run   build (release) and start the program
#   make test  build with AddressSanitizer + UndefinedBehaviorSanitizer and run every test; the
#              release build that `make run` uses is compiled too, so an optimised-only warning
#              cannot slip through
#   make goldens  draw the golden pictures in docs/export again, on purpose, when a drawing is
#              meant to change (the tests compare every render with them)
#   make fuzz  build the libFuzzer targets with clang (installed on demand) and run each for
#              FUZZ_SECONDS (default 60); FUZZ_SEED fixes the fuzzer's random seed (default 0: a
#              new seed each run)

BUILD      ?= build
TEST_BUILD ?= build-test
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 0

.PHONY: run test build build-test deps bench clean format fuzz fuzz-deps goldens

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVEK1_TESTS=OFF

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: run it as  xvfb-run -s '-screen 0 1280x1024x24' make run  (or set DISPLAY)."; \
	  exit 1; \
	fi
	cd $(BUILD)/bin && ./vek1

$(TEST_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVEK1_SANITIZE=ON -DVEK1_BENCH=OFF

build-test: deps $(TEST_BUILD)/CMakeCache.txt
	cmake --build $(TEST_BUILD) -j $(JOBS)

test: build-test build
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

fuzz-deps:
	@bash scripts/install-deps.sh --fuzz

$(FUZZ_BUILD)/CMakeCache.txt: | fuzz-deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEK1_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++

fuzz: fuzz-deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_SEED)

goldens: build
	QT_QPA_PLATFORM=offscreen bash scripts/make-goldens.sh $(BUILD)/bin/vek1-cli

bench: build
	$(BUILD)/bin/vek1-bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(FUZZ_BUILD)
