# Entry points for people and CI. Everything builds into build/ (build-sanitize/ with SANITIZE=1).
BUILD_DIR := $(if $(SANITIZE),build-sanitize,build)
CMAKE_FLAGS := -G Ninja $(if $(SANITIZE),-DQUORT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug,)
JOBS ?= $(shell nproc)

.PHONY: deps build test run bench lint clean

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	@bash scripts/run-demo $(BUILD_DIR)

# Benchmarks measure optimised code, in a build directory of their own.
bench:
	@bash scripts/install-deps bench
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORT_BUILD_BENCH=ON >/dev/null
	@cmake --build build-bench -j $(JOBS) --target quort_bench
	@build-bench/quort_bench

lint:
	@bash scripts/install-deps lint
	@bash scripts/check-layers
	@git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' | xargs clang-format --dry-run --Werror
	@clang-tidy -p $(BUILD_DIR) $$(git ls-files 'src/*.cpp') --quiet

clean:
	@rm -rf build build-sanitize build-bench
