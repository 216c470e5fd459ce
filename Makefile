# Thin wrapper around CMake. `make run` starts Plexaro on the sample board, `make test` builds
# and runs every test. Both install the Debian packages they need first.

BUILD     ?= build
RELEASE   ?= build-release
ASAN      ?= build-asan
JOBS      ?= 2
PACKAGES  := cmake g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev \
             qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation xvfb x11-apps

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all build deps test test-asan run run-dravon bench lint format clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

test: deps build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The logic libraries' tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DVIEWERS_SANITIZE=ON -DVIEWERS_GUI=OFF -DVIEWERS_BENCH=OFF
	cmake --build $(ASAN) -j$(JOBS)
	ctest --test-dir $(ASAN) --output-on-failure -L core -j$(JOBS)

run: deps build
	$(BUILD)/plexaro/plexaro samples/demo.brd

run-dravon: deps build
	$(BUILD)/dravon/dravon samples/demo.lst

bench: deps
	cmake -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE) -j$(JOBS)
	@for b in $(RELEASE)/bench/*/bench_*; do [ -x "$$b" ] && echo "== $$b" && "$$b"; done

lint: $(BUILD)/CMakeCache.txt
	run-clang-tidy -p $(BUILD) -quiet 'plexaro/(board|display|ui)/|dravon/(card|render|ui)/' 2>/dev/null || \
	  clang-tidy -p $(BUILD) $$(git ls-files 'plexaro/board/*.cpp' 'plexaro/display/*.cpp' 'plexaro/ui/*.cpp' 'dravon/card/*.cpp' 'dravon/render/*.cpp' 'dravon/ui/*.cpp')

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(RELEASE) $(ASAN)
