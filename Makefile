# Convenience front end over CMake. 'make demo' builds and runs the tool on
# the shipped example; 'make check' builds and runs the whole test suite.
BUILD    ?= build
JOBS     ?= $(shell nproc)
CMAKE_GEN = -G Ninja
# ccache (when the build finds it) hashes paths relative to the checkout, so
# a fresh clone elsewhere reuses what an earlier build compiled.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1

.PHONY: all deps configure build demo check check-clang check-libcxx check-static wasm check-wasm web serve check-web approve release sanitize tsan fuzz bench docs format clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@echo '$$ marlix types --stdin < examples/edl_names.txt'
	@$(BUILD)/tools/marlix/marlix types --stdin < examples/edl_names.txt

check: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The suite holds the tool, the Python module and the C interface to the
# answers in tests/behaviour/answers.txt.gz (the test approved_answers
# shows the first that changed); when the change is meant, this records the
# new ones.
approve: build
	@python3 scripts/behaviour_hash.py $(BUILD)/tools/marlix/marlix $(BUILD)/python/package \
		--dump tests/behaviour/answers.txt.gz

# A packager's build: Release with the default options (warnings are not
# errors there), then the suite; Debug is the sanitizers' build below.
release: deps
	@cmake -S . -B build-release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release
	@cmake --build build-release -j $(JOBS)
	@cd build-release && ctest --output-on-failure -j $(JOBS)

# The whole suite built with clang as well, whose warnings and
# optimisations differ from g++'s.
check-clang: deps
	@cmake -S . -B build-clang $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@cmake --build build-clang -j $(JOBS)
	@cd build-clang && ctest --output-on-failure -j $(JOBS)

# The suite built with clang against libc++ (the standard library of
# macOS and of Emscripten) instead of libstdc++. GoogleTest is compiled
# from its sources with the same library; no benchmarks.
LIBCXX = -stdlib=libc++
check-libcxx:
	@scripts/install-deps.sh clang libc++-14-dev libc++abi-14-dev googletest
	@cmake -S . -B build-libcxx $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_FLAGS="$(LIBCXX)" \
		-DCMAKE_EXE_LINKER_FLAGS="$(LIBCXX)" -DCMAKE_SHARED_LINKER_FLAGS="$(LIBCXX)" \
		-DCMAKE_MODULE_LINKER_FLAGS="$(LIBCXX)" -DMARLIX_GTEST_FROM_SOURCE=ON -DMARLIX_BENCH=OFF
	@cmake --build build-libcxx -j $(JOBS)
	@cd build-libcxx && ctest --output-on-failure -j $(JOBS)

# libmarlix as a static archive (-DBUILD_SHARED_LIBS=OFF): the tool, the C
# interface test and the Python module linked from it, and the archive
# installed and used through find_package and pkg-config --static. The
# unit tests are those of 'make check' (they keep their shared test
# library) and are not run again.
check-static: deps
	@cmake -S . -B build-static $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_SHARED_LIBS=OFF
	@cmake --build build-static -j $(JOBS) --target marlix marlix_cli marlix_python capi_test
	@cd build-static && ctest --output-on-failure -j $(JOBS) -R '^(install_consumer|cli|cli_json|capi_test|python_module)$$'

# The library and its JavaScript binding compiled with Emscripten into
# web/site/marlix.mjs (beside it marlix_wasm.mjs, which it loads, and the
# TypeScript declarations marlix.d.mts); check-wasm compiles a TypeScript
# caller against the declarations and runs the binding's Node tests.
# Emscripten's optimiser needs Debian's node modules.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
wasm:
	@scripts/install-deps.sh emscripten nodejs node-typescript
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B build-wasm $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
		-DMARLIX_WERROR=ON -DMARLIX_TESTS=OFF -DMARLIX_TOOLS=OFF -DMARLIX_PYTHON=OFF >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build build-wasm -j $(JOBS)
	@echo "JavaScript module: web/site/marlix.mjs"

check-wasm: wasm
	@tsc --noEmit --strict --target es2022 --module nodenext --moduleResolution nodenext \
		web/tests/declarations.mts
	@node --test web/tests/

# The calculator page: the JavaScript module with the page's own files, all
# of it static, in web/site (index.html at its top). serve shows it on
# localhost; check-web drives it in headless Chromium and compares its
# answers with the tool's.
PORT ?= 8000
web: wasm
	@cp web/page/index.html web/page/app.mjs web/page/style.css web/site/
	@echo "The page: web/site/index.html ('make serve' shows it)"

serve:
	@test -f web/site/index.html || { echo "make web first" >&2; exit 2; }
	@echo "Serving web/site on http://127.0.0.1:$(PORT)/ (Ctrl-C stops)"
	@python3 -m http.server $(PORT) --bind 127.0.0.1 --directory web/site

check-web: web build
	@scripts/install-deps.sh chromium chromium-driver python3-selenium
	@/usr/bin/python3 web/tests/browser_test.py --site web/site --tool $(BUILD)/tools/marlix/marlix \
		--screenshots $(BUILD)/web-screenshots

sanitize: deps
	@cmake -S . -B build-asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMARLIX_SANITIZE=ON
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ctest --output-on-failure -j $(JOBS)

tsan: deps
	@cmake -S . -B build-tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLIX_TSAN=ON -DMARLIX_TOOLS=OFF
	@cmake --build build-tsan -j $(JOBS) --target library_load_test thread_test
	@cd build-tsan && ctest --output-on-failure -R 'library_load_test|thread_test'

fuzz: deps
	@cmake -S . -B build-fuzz $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLIX_FUZZ=ON -DMARLIX_TOOLS=OFF
	@cmake --build build-fuzz -j $(JOBS)

bench:
	@scripts/install-deps.sh libavutil-dev
	@cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DMARLIX_BENCH=ON -DMARLIX_TESTS=OFF
	@cmake --build build-bench -j $(JOBS)
	@build-bench/bench/marlix_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The API reference of the installed headers, build-docs/html/index.html;
# a Doxygen warning fails the target.
docs:
	@scripts/install-deps.sh doxygen
	@rm -rf build-docs && doxygen docs/Doxyfile
	@echo "API reference: build-docs/html/index.html"

format:
	@clang-format -i $$(git ls-files '*.h' '*.cpp')

clean:
	@rm -rf build build-release build-clang build-libcxx build-static build-wasm web/site build-asan build-tsan build-fuzz build-bench build-docs
