# The two commands of the README:
#   make demo   installs what is missing, builds, runs `jxut demo` over samples/
#   make test   installs what is missing, builds, runs every test leg
.PHONY: demo test demo-deps windows-deps format

# The demo needs a compiler, CMake and make only: no tests, no Ninja.
demo: demo-deps
	@cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DJX_BUILD_TESTS=OFF >/dev/null
	@cmake --build build/demo --target jxut -j 2
	./build/demo/bin/jxut demo

test: windows-deps
	@bash cmake/run-tests.sh

demo-deps:
	@bash cmake/install-deps.sh demo

windows-deps:
	@bash cmake/install-deps.sh windows

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
