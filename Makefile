# A thin front over CMake: every target configures and builds what it needs first.
BUILD ?= build
CMAKE ?= cmake
GEN = -G Ninja

.PHONY: all build run test test-sanitize bench fuzz clean

all: build

$(BUILD)/build.ninja:
	$(CMAKE) -S . -B $(BUILD) $(GEN)

build: $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD)

run: build
	$(BUILD)/scenario-builder

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

build-sanitize/build.ninja:
	$(CMAKE) -S . -B build-sanitize $(GEN) -DSCENARIO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug

test-sanitize: build-sanitize/build.ninja
	$(CMAKE) --build build-sanitize
	cd build-sanitize && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz
